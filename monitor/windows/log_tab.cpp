// "Log event": the device's event log above its two buttons and the
// download's progress.
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "records/records_controls.h"
#include "windows/builders.h"

namespace treld {

void buildLogTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(named(new QLabel(page), kStsLogTitle));
    layout->addWidget(named(new QListWidget(page), kStsLogList), 1);

    auto* buttons = new QHBoxLayout;
    for (ElementName button : {kRefreshStsLogs, kPcLogs})
        buttons->addWidget(named(new QPushButton(page), button));
    buttons->addWidget(named(new QLabel(page), kStsLogProgress), 1);
    layout->addLayout(buttons);
}

}  // namespace treld
