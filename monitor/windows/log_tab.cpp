// "Log event": the device's event log above its two buttons.
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/builders.h"

namespace treld {

void buildLogTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(page);
    title->setObjectName("Label54");
    layout->addWidget(title);

    auto* list = new QListWidget(page);
    list->setObjectName("List1");
    layout->addWidget(list, 1);

    auto* buttons = new QHBoxLayout;
    for (const char* name : {"Command20", "Command4"}) {
        auto* button = new QPushButton(page);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
}

}  // namespace treld
