#include <QListWidget>
#include <QVBoxLayout>

#include "windows/builders.h"

namespace treld {

// "Demo set": the entries read from DEMOSET.CFG.
void buildDemoSetTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    auto* entries = new QListWidget(page);
    entries->setObjectName("List2");
    layout->addWidget(entries);
}

}  // namespace treld
