#include <QDialog>

#include "windows/builders.h"

namespace treld {

QWidget* buildAlarmsWindow() {
    auto* window = new QDialog;
    window->setObjectName("Form4");
    return window;
}

}  // namespace treld
