// Form5, "About program": the program name and version in bold, and "OK".
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/builders.h"
#include "windows/closing_dialog.h"

namespace treld {

QWidget* buildAboutWindow(QWidget* mainWindow) {
    auto* window = new ClosingDialog(mainWindow);
    window->setObjectName("Form5");
    window->setModal(false);

    auto* layout = new QVBoxLayout(window);
    auto* name = new QLabel(window);
    name->setObjectName("Label1");
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* ok = new QPushButton(window);
    ok->setObjectName("Command1");
    layout->addWidget(ok, 0, Qt::AlignCenter);
    window->resize(px(4000), px(1600));
    return window;
}

}  // namespace treld
