#include <QDialog>

#include "windows/builders.h"

namespace treld {

QWidget* buildAboutWindow(QWidget* mainWindow) {
    auto* window = new QDialog(mainWindow);
    window->setObjectName("Form5");
    return window;
}

}  // namespace treld
