#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "foundation/main_window.h"
#include "link/station_list.h"
#include "windows/builders.h"

namespace treld {

// Above the status row: the station list, "Connect" and the send indicator.
void buildStationRow(QWidget* row) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* stations = named(new QListWidget(row), kStationList);
    stations->setFixedSize(px(4200), px(1000));
    layout->addWidget(stations, 0, Qt::AlignTop);

    auto* connect = named(new QPushButton(row), kConnect);
    connect->setFixedWidth(px(1200));
    layout->addWidget(connect, 0, Qt::AlignTop);

    auto* sendIndicator = named(new QLabel(row), kSendIndicator);
    sendIndicator->setMinimumWidth(px(3000));
    layout->addWidget(sendIndicator, 1, Qt::AlignTop);
}

}  // namespace treld
