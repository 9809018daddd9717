#include "platform/headless.h"

#include <QByteArray>
#include <cstdio>

namespace treld {

void chooseHeadlessWithoutDisplay() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    std::fprintf(stderr,
                 "No display: the monitor runs headless; polling, logging, the relay server and "
                 "fleet publishing work without a screen.\n");
}

}  // namespace treld
