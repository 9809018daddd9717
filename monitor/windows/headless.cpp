#include "windows/headless.h"

#include <unistd.h>

#include <QByteArray>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace treld {
namespace {

bool fallbackAllowed = false;

[[noreturn]] void handOver(char** argv, const char* why) {
    if (why != nullptr)
        std::fprintf(stderr,
                     "%s: the monitor runs headless; polling, logging, the relay server and fleet "
                     "publishing work without a screen.\n",
                     why);
    std::error_code failed;
    const std::filesystem::path station =
        std::filesystem::read_symlink("/proc/self/exe", failed).parent_path() / "treld-station";
    execv(station.c_str(), argv);
    std::fprintf(stderr, "%s: cannot start %s: %s\n", argv[0], station.c_str(),
                 std::strerror(errno));
    std::exit(1);
}

}  // namespace

void handOverWhenHeadless(char** argv, bool asked) {
    if (asked)
        handOver(argv, nullptr);
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    QByteArray platforms = "offscreen";
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        platforms.prepend("xcb;");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        platforms.prepend("wayland;");
    if (platforms == "offscreen")
        handOver(argv, "No display");
    // Qt takes the first platform of the list that starts.
    fallbackAllowed = true;
    qputenv("QT_QPA_PLATFORM", platforms);
}

void handOverWhenDisplayFailed(char** argv) {
    if (!fallbackAllowed || QGuiApplication::platformName() != "offscreen")
        return;
    const QByteArray display = qgetenv("DISPLAY") + qgetenv("WAYLAND_DISPLAY");
    handOver(argv, ("Display " + display + " cannot be opened").constData());
}

}  // namespace treld
