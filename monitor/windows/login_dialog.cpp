#include <QDialog>

#include "windows/builders.h"

namespace treld {

QWidget* buildLoginDialog(QWidget* mainWindow) {
    auto* window = new QDialog(mainWindow);
    window->setObjectName("Form3");
    return window;
}

}  // namespace treld
