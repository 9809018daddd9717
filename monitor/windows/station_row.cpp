#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "windows/builders.h"

namespace treld {

// Above the status row: the station list, "Connect" and the send indicator.
void buildStationRow(QWidget* row) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* stations = new QListWidget(row);
    stations->setObjectName("List3");
    stations->setFixedSize(px(4200), px(1000));
    layout->addWidget(stations, 0, Qt::AlignTop);

    auto* connect = new QPushButton("Connect", row);
    connect->setObjectName("Command5");
    connect->setFixedWidth(px(1200));
    layout->addWidget(connect, 0, Qt::AlignTop);

    auto* sendIndicator = new QLabel(row);
    sendIndicator->setObjectName("Label56");
    sendIndicator->setMinimumWidth(px(3000));
    layout->addWidget(sendIndicator, 1, Qt::AlignTop);
}

}  // namespace treld
