#include <QListWidget>
#include <QVBoxLayout>

#include "link/demo_table.h"
#include "windows/builders.h"

namespace treld {

// "Demo set": the entries read from DEMOSET.CFG.
void buildDemoSetTab(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(named(new QListWidget(page), kDemoSetList));
}

}  // namespace treld
