// Operator actions in the real windows against the simulated STS.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTabWidget>

#include "station_rig.h"

namespace treld::e2e {
namespace {

using namespace std::chrono_literals;

TEST(Operator, LogTabListsTheSimulatorsHundredAndTwentyEightRecords) {
    StationRig rig;
    rig.widget<QTabWidget>(Form::Form1, "SSTab1")->setCurrentIndex(4);
    auto* list = rig.widget<QListWidget>(Form::Form1, "List1");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(rig.waitFor([&] { return list->count() == 128; }, 60s));
    EXPECT_TRUE(list->item(0)->text().startsWith("0-"));
    EXPECT_TRUE(list->item(127)->text().startsWith("127-"));
    EXPECT_TRUE(list->item(127)->text().endsWith("Empty log record"));
    const std::vector<std::string> sent = rig.simulatorReceived();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "LOG127"), 1);
}

}  // namespace
}  // namespace treld::e2e

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
