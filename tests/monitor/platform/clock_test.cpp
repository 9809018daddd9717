// The product's clock: to the millisecond like the tests' virtual one, so the relay's login
// pacing counts the same in both.
#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/qt_platform.h"

namespace treld {
namespace {

TEST(QtClock, CarriesMillisecondsBetweenItsReadsOfTheSecond) {
    QtPlatform platform;
    for (int read = 0; read < 3; ++read) {  // the first read of a second and later ones
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        const LocalDateTime now = platform.now();
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        EXPECT_GE(now.epochSeconds * 1000 + now.millisecond, before);
        EXPECT_LE(now.epochSeconds * 1000 + now.millisecond, after);
    }
}

}  // namespace
}  // namespace treld
