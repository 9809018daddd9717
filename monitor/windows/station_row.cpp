#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "foundation/main_window.h"
#include "link/station_list.h"
#include "windows/activity_indicator.h"
#include "windows/builders.h"

namespace treld {

// Above the status row: the station list, "Connect", the station's name and
// the send indicator.
void buildStationRow(QWidget* row) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* stations = named(new QListWidget(row), kStationList);
    stations->setFixedSize(px(4200), px(1000));
    layout->addWidget(stations, 0, Qt::AlignTop);

    auto* connect = named(new QPushButton(row), kConnect);
    connect->setFixedWidth(px(1200));
    layout->addWidget(connect, 0, Qt::AlignTop);

    auto* name = named(new QLabel(row), kStationNameLabel);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    // A long name is cut rather than widening the window past the screen.
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(name, 1, Qt::AlignTop);

    auto* sendIndicator = named(new ActivityIndicator(row), kSendIndicator);
    sendIndicator->setMinimumWidth(px(3000));
    layout->addWidget(sendIndicator, 1, Qt::AlignTop);
}

}  // namespace treld
