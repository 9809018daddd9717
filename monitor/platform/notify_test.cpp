#include "platform/notify_test.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <cstdio>

#include "platform/qt_platform.h"

namespace treld {

int runNotifyTest(const std::filesystem::path& programDir,
                  const std::filesystem::path& stationDir) {
    QtPlatform platform;
    Monitor monitor(platform, programDir, stationDir);
    platform.attach(&monitor, {});
    std::optional<int> code;
    monitor.testNotifications(QHostInfo::localHostName().toStdString(),
                              [&](const std::vector<std::string>& answers, bool all) {
                                  for (const std::string& answer : answers)
                                      std::printf("%s\n", answer.c_str());
                                  code = all ? 0 : 1;
                                  QCoreApplication::exit(*code);
                              });
    const int ended = code ? *code : QCoreApplication::exec();
    platform.attach(nullptr, {});
    return ended;
}

}  // namespace treld
