// Form5, "About program": the program name and version in bold, and "OK".
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/device_controls.h"
#include "windows/builders.h"
#include "windows/closing_dialog.h"

namespace treld {

QWidget* buildAboutWindow(QWidget* mainWindow) {
    auto* window = named(new ClosingDialog(mainWindow), kAboutWindow);
    window->setModal(false);

    auto* layout = new QVBoxLayout(window);
    auto* name = named(new QLabel(window), kAboutText);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* ok = named(new QPushButton(window), kAboutOk);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    window->resize(px(4000), px(1600));
    return window;
}

}  // namespace treld
