#include <QDialog>

#include "windows/builders.h"

namespace treld {

QWidget* buildSettingsDialog(QWidget* mainWindow) {
    auto* window = new QDialog(mainWindow);
    window->setObjectName("Form2");
    return window;
}

}  // namespace treld
