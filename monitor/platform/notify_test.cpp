#include "platform/notify_test.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <cstdio>

#include "platform/qt_platform.h"

namespace treld {

int runNotifyTest(int& argc, char** argv) {
    QCoreApplication app(argc, argv);
    QtPlatform platform;
    Monitor monitor(platform, QCoreApplication::applicationDirPath().toStdString());
    platform.attach(&monitor, {});
    std::optional<int> code;
    monitor.testNotifications(QHostInfo::localHostName().toStdString(),
                              [&](const std::vector<std::string>& answers, bool all) {
                                  for (const std::string& answer : answers)
                                      std::printf("%s\n", answer.c_str());
                                  code = all ? 0 : 1;
                                  app.exit(*code);
                              });
    const int ended = code ? *code : app.exec();
    platform.attach(nullptr, {});
    return ended;
}

}  // namespace treld
