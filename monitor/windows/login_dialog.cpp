// Form3, the login dialog: the password (masked) on the top row, the status
// line below it, "Logon" and "Cancel" side by side at the bottom. Modeless.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "device/device_controls.h"
#include "windows/builders.h"
#include "windows/closing_dialog.h"

namespace treld {

QWidget* buildLoginDialog(QWidget* mainWindow) {
    auto* window = named(new ClosingDialog(mainWindow), kLoginDialog);
    window->setModal(false);

    auto* grid = new QGridLayout(window);
    grid->addWidget(named(new QLabel(window), kPasswordCaption), 0, 0);
    auto* password = named(new QLineEdit(window), kPasswordBox);
    password->setEchoMode(QLineEdit::Password);
    password->setMinimumWidth(px(1800));
    grid->addWidget(password, 0, 1);
    grid->addWidget(named(new QLabel(window), kLoginStatus), 1, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    for (ElementName name : {kLogon, kLoginCancel}) {
        auto* button = named(new QPushButton(window), name);
        button->setAutoDefault(false);
        button->setDefault(name == kLogon);  // Enter logs on, Escape cancels
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 2, 0, 1, 2);
    return window;
}

}  // namespace treld
