// Form3, the login dialog: the password on the top row, the status line
// below it, "Logon" and "Cancel" side by side at the bottom. Modeless.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows/builders.h"
#include "windows/closing_dialog.h"

namespace treld {

QWidget* buildLoginDialog(QWidget* mainWindow) {
    auto* window = new ClosingDialog(mainWindow);
    window->setObjectName("Form3");
    window->setModal(false);

    auto* grid = new QGridLayout(window);
    auto* caption = new QLabel(window);
    caption->setObjectName("Label1");
    grid->addWidget(caption, 0, 0);
    auto* password = new QLineEdit(window);
    password->setObjectName("Text1");
    password->setMinimumWidth(px(1800));
    grid->addWidget(password, 0, 1);
    auto* status = new QLabel(window);
    status->setObjectName("Label2");
    grid->addWidget(status, 1, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    for (const char* name : {"Command1", "Command2"}) {
        auto* button = new QPushButton(window);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 2, 0, 1, 2);
    return window;
}

}  // namespace treld
