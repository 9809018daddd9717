// Operator actions in the real windows against the simulated STS.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

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

TEST(Operator, SynchronizeSetsTheDeviceClockAndDateFromThePc) {
    StationRig rig;
    ASSERT_TRUE(rig.waitFor([&] { return rig.simulatorReceived().size() >= 3; }, 10s));
    rig.widget<QPushButton>(Form::Form1, "Command3")->click();
    ASSERT_TRUE(rig.waitFor(
        [&] {
            const auto sent = rig.simulatorReceived();
            return std::count_if(sent.begin(), sent.end(),
                                 [](const std::string& c) { return c.starts_with("AD"); }) > 0;
        },
        10s));
    const auto sent = rig.simulatorReceived();
    const auto clock = std::find_if(sent.begin(), sent.end(),
                                    [](const std::string& c) { return c.starts_with("ACL"); });
    ASSERT_NE(clock, sent.end());
    EXPECT_EQ(clock->size(), 8u) << *clock;  // ACLhh:mm
    ASSERT_GE(sent.end() - clock, 3);
    EXPECT_EQ(*(clock + 1), "") << "the command's own CR, then the framing CR";
    EXPECT_TRUE((clock + 2)->starts_with("AD")) << "the date follows the clock";
    EXPECT_EQ((clock + 2)->size(), 8u) << *(clock + 2);  // ADddmmyy
}

// Log in with the simulator's user password, move the load to source 2 and
// see the schematic follow, change an option and read it back, log out.
TEST(Operator, LoggedInOperatorTransfersTheLoadChangesAnOptionAndLogsOut) {
    StationRig rig;
    Core& core = rig.monitor->core();
    auto* tabs = rig.widget<QTabWidget>(Form::Form1, "SSTab1");
    ASSERT_TRUE(rig.waitFor([&] { return !core.status.CurrentStatus.empty(); }, 10s));

    rig.form1->findChild<QAction*>("mnuselogon")->trigger();
    QTest::keyClicks(rig.widget<QLineEdit>(Form::Form3, "Text1"), "1111");
    rig.widget<QPushButton>(Form::Form3, "Command1")->click();
    ASSERT_TRUE(rig.waitFor([&] { return !rig.windows[2]->isVisible(); }, 12s))
        << "the login dialog closes on success";
    EXPECT_EQ(rig.form1->windowTitle(), "ZID evevori/User Login(Local)");

    tabs->setCurrentIndex(3);
    // A command queued before the poll cycle has seen the tab change is dropped.
    ASSERT_TRUE(rig.waitFor([&] { return core.s.LastTab == 3; }, 5s));
    rig.widget<QPushButton>(Form::Form1, "Command2_1")->click();  // Manual XFER to S2
    ASSERT_TRUE(rig.waitFor([&] { return core.status.SourceIndicator == 1; }, 10s));
    tabs->setCurrentIndex(0);
    rig.wait(500ms);
    EXPECT_TRUE(rig.widget<QWidget>(Form::Form1, "Line2")->isVisibleTo(rig.form1));
    EXPECT_FALSE(rig.widget<QWidget>(Form::Form1, "Line1")->isVisibleTo(rig.form1));

    tabs->setCurrentIndex(1);
    ASSERT_TRUE(rig.waitFor([&] { return core.s.LastTab == 1; }, 5s));
    auto* inhibitReset = rig.widget<QComboBox>(Form::Form1, "Combo1_7");
    auto* shown = rig.widget<QLabel>(Form::Form1, "Label32_7");
    ASSERT_TRUE(rig.waitFor([&] { return core.s.OptionsRefresh == 0; }, 15s)) << "editor loaded";
    EXPECT_EQ(shown->text(), "Automatic");
    emit inhibitReset->activated(1);  // the operator picks "Manual"
    rig.widget<QPushButton>(Form::Form1, "Command1")->click();
    ASSERT_TRUE(rig.waitFor([&] { return shown->text() == "Manual"; }, 20s));

    tabs->setCurrentIndex(0);
    ASSERT_TRUE(rig.waitFor([&] { return core.s.LastTab == 0; }, 5s));
    rig.form1->findChild<QAction*>("mnout")->trigger();
    ASSERT_TRUE(rig.waitFor([&] { return rig.form1->windowTitle().contains("/Logout"); }, 10s));
    const auto sent = rig.simulatorReceived();
    for (const char* command : {"U1111", "XF2", "W0039001", "OUT"}) {
        EXPECT_NE(std::find(sent.begin(), sent.end(), command), sent.end()) << command;
    }
}

}  // namespace
}  // namespace treld::e2e

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
