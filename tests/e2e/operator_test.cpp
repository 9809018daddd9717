// The whole monitor in this process (real Qt platform, real windows,
// offscreen) against the real sts-sim on a pseudo-terminal: what only the
// operator's clicks can start, and a second monitor watching through the
// first one's relay server on loopback sockets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>

#include "e2e_support.h"
#include "platform/qt_platform.h"
#include "windows/binder.h"
#include "windows/builders.h"
#include "windows/main_window.h"

namespace treld::e2e {
namespace {

// Runs the event loop until `done` holds or `limit` has passed.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    return QTest::qWaitFor(done, int(limit.count()));
}

// sts-sim, and a monitor with its windows on its line.
struct StationRig {
    explicit StationRig(const std::string& config = "COMPORT:1\r\nTIMEOUT:500\r\n") {
        dir.write("sts.cfg", config);
        platform.attach(&monitor, [this] { binder.flush(); });
        binder.bindAll();
        monitor.start();
        binder.flush();
    }
    ~StationRig() {
        platform.attach(nullptr, {});
        delete windows[int(Form::Form4)];  // the one window without an owner
    }
    template <typename T = QWidget>
    T* widget(const char* name, Form form = Form::Form1) {
        return windows[int(form)]->findChild<T*>(name);
    }
    void trigger(const char* menu) { widget<QAction>(menu)->trigger(); }
    std::vector<std::string> received() const {
        std::vector<std::string> texts;
        for (const auto& [atMs, text] : simulatorReceived(dir))
            texts.push_back(text);
        return texts;
    }
    bool received(const std::string& command) const {
        return std::ranges::count(received(), command) > 0;
    }

    ProgramDir dir;
    std::unique_ptr<Process> simulator = startSimulator(dir);
    bool lineSet = qputenv("TRELD_COM1", (dir.path() / "sts-line").c_str());
    QtPlatform platform;
    Monitor monitor{platform, dir.path()};
    std::unique_ptr<QMainWindow> form1{buildMainWindow()};
    std::array<QWidget*, kFormCount> windows{form1.get(), buildSettingsDialog(form1.get()),
                                             buildLoginDialog(form1.get()), buildAlarmsWindow(),
                                             buildAboutWindow(form1.get())};
    Binder binder{monitor, windows};
};

TEST(Operator, SynchronizeSetsTheClockAndTheLogTabListsTheSimulatorsRecords) {
    StationRig rig;
    ASSERT_TRUE(waitFor([&] { return rig.received().size() >= 3; }));
    rig.widget<QPushButton>("Command3")->click();
    ASSERT_TRUE(waitFor([&] {
        return std::ranges::any_of(rig.received(), [](auto& c) { return c.starts_with("AD"); });
    }));
    const auto sent = rig.received();
    const auto clock = std::ranges::find_if(sent, [](auto& c) { return c.starts_with("ACL"); });
    ASSERT_LE(clock + 3, sent.end());
    EXPECT_EQ(clock->size(), 8u) << *clock;  // ACLhh:mm
    EXPECT_EQ(*(clock + 1), "") << "the command's own CR, then the framing CR";
    EXPECT_TRUE((clock + 2)->starts_with("AD") && (clock + 2)->size() == 8) << *(clock + 2);

    rig.widget<QTabWidget>("SSTab1")->setCurrentIndex(4);
    auto* list = rig.widget<QListWidget>("List1");
    ASSERT_TRUE(waitFor([&] { return list->count() == 128; }, 60s));
    EXPECT_TRUE(list->item(0)->text().startsWith("0-"));
    EXPECT_TRUE(list->item(127)->text().startsWith("127-"));
    EXPECT_TRUE(list->item(127)->text().endsWith("Empty log record"));
    EXPECT_EQ(std::ranges::count(rig.received(), "LOG127"), 1);
}

// Log in with the simulator's user password, move the load to source 2 and
// see the schematic follow, change an option and read it back, log out.
TEST(Operator, LoggedInOperatorTransfersTheLoadChangesAnOptionAndLogsOut) {
    StationRig rig;
    auto* tabs = rig.widget<QTabWidget>("SSTab1");
    ASSERT_TRUE(waitFor([&] { return rig.form1->windowTitle().contains("/Logout"); }));
    rig.trigger("mnuselogon");
    QTest::keyClicks(rig.widget<QLineEdit>("Text1", Form::Form3), "1111");
    rig.widget<QPushButton>("Command1", Form::Form3)->click();
    ASSERT_TRUE(waitFor([&] { return !rig.windows[int(Form::Form3)]->isVisible(); }, 12s))
        << "the login dialog closes on success";
    EXPECT_EQ(rig.form1->windowTitle(), "ZID evevori/User Login(Local)");

    // A command queued before the poll cycle has seen the tab change is dropped.
    auto lastSent = [&](const char* a, const char* b) {
        const auto sent = rig.received();
        return sent.size() >= 2 && sent.end()[-2] == a && sent.end()[-1] == b;
    };
    tabs->setCurrentIndex(3);
    ASSERT_TRUE(waitFor([&] { return lastSent("SAS", "SAS"); }));
    rig.widget<QPushButton>("Command2_1")->click();  // Manual XFER to S2
    ASSERT_TRUE(waitFor([&] { return rig.received("XF2"); }));
    tabs->setCurrentIndex(0);
    auto* toSource2 = rig.widget("Line2");
    ASSERT_TRUE(waitFor([&] { return toSource2->isVisibleTo(rig.form1.get()); }));
    EXPECT_FALSE(rig.widget("Line1")->isVisibleTo(rig.form1.get()));

    tabs->setCurrentIndex(1);
    auto* shown = rig.widget<QLabel>("Label32_7");
    auto* inhibitReset = rig.widget<QComboBox>("Combo1_7");
    ASSERT_TRUE(waitFor([&] { return inhibitReset->currentIndex() == 0; }, 15s)) << "editor loaded";
    EXPECT_EQ(shown->text(), "Automatic");
    emit inhibitReset->activated(1);  // the operator picks "Manual"
    rig.widget<QPushButton>("Command1")->click();
    ASSERT_TRUE(waitFor([&] { return shown->text() == "Manual"; }, 20s));
    EXPECT_TRUE(rig.received("W0039001"));

    tabs->setCurrentIndex(0);
    ASSERT_TRUE(waitFor([&] { return lastSent("SRV", "OPL"); }));
    rig.trigger("mnout");
    ASSERT_TRUE(waitFor([&] { return rig.form1->windowTitle().contains("/Logout"); }));
    EXPECT_TRUE(rig.received("U1111") && rig.received("OUT"));
}

// A local monitor on sts-sim serves a bare socket a cached reply and closes it;
// a remote monitor polling through it shows the same values and gets the
// device's own answer to its command.
TEST(RelaySocket, TwoMonitorsWatchOneSimulatedStsThroughTheRelayServer) {
    const std::string port = std::to_string(freeTcpPort());
    StationRig local("COMPORT:1\r\nREMOTEPORT:" + port + "\r\n");
    ProgramDir remoteDir;
    remoteDir.write("sts.cfg", "COMPORT:99\r\nREMOTEIP3:127.0.0.1\r\nREMOTEPORT:" + port + "\r\n");
    QtPlatform platform;
    Monitor remote(platform, remoteDir.path());
    platform.attach(&remote, {});
    remote.start();
    auto shown = [](Monitor& monitor, const char* name) {
        return monitor.ui()(Form::Form1, name).caption();
    };
    EXPECT_EQ(shown(remote, "Label25"), " port:" + port + " in use");
    remote.select(Form::Form1, "List3", 1);
    remote.click(Form::Form1, "Command5");
    EXPECT_TRUE(waitFor([&] {
        return !shown(local.monitor, "Label26").empty() &&
               shown(remote, "Label26") == shown(local.monitor, "Label26") &&
               shown(remote, "Label14") == shown(local.monitor, "Label14");
    }));

    QTcpSocket client;
    client.connectToHost("127.0.0.1", quint16(std::stoi(port)));
    client.write("SRV\r");
    EXPECT_TRUE(waitFor([&] { return client.state() == QTcpSocket::UnconnectedState; }));
    EXPECT_TRUE(client.readAll().endsWith("\r\r")) << "the cached reply and a CR";

    remote.click(Form::Form1, "mnout");
    EXPECT_TRUE(waitFor([&] { return shown(remote, "Label40") == "OK\r"; }));
    EXPECT_TRUE(local.received("OUT"));
    platform.attach(nullptr, {});
}

}  // namespace
}  // namespace treld::e2e

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
