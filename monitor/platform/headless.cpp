#include "platform/headless.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>

namespace treld {
namespace {

bool fallbackAllowed = false;

}  // namespace

void allowHeadlessFallback() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    fallbackAllowed = true;
    // Qt takes the first platform of the list that starts.
    QByteArray platforms = "offscreen";
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        platforms.prepend("xcb;");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        platforms.prepend("wayland;");
    qputenv("QT_QPA_PLATFORM", platforms);
}

void sayWhenHeadless() {
    if (!fallbackAllowed || QGuiApplication::platformName() != "offscreen")
        return;
    const QByteArray display = qgetenv("DISPLAY") + qgetenv("WAYLAND_DISPLAY");
    std::fprintf(stderr,
                 "%s: the monitor runs headless; polling, logging, the relay server and fleet "
                 "publishing work without a screen.\n",
                 display.isEmpty() ? "No display"
                                   : ("Display " + display + " cannot be opened").constData());
}

}  // namespace treld
