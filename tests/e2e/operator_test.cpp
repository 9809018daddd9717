// The whole monitor in this process (real Qt platform and windows, offscreen) against
// sts-sim on a pseudo-terminal, driven by clicks and by clients of its relay server.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

#include "e2e_support.h"
#include "mail_sink_process.h"
#include "platform/qt_platform.h"
#include "windows/station_windows.h"
#include "windows/trends_window.h"

namespace treld::e2e {
namespace {

// Runs the event loop until `done` holds; false after `limit`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    return QTest::qWaitFor(done, int(limit.count()));
}

// sts-sim, and a monitor with its windows on its line.
struct StationRig {
    explicit StationRig(const std::string& config, const std::vector<std::string>& scenario = {},
                        const std::string& relayConfig = "")
        : simulator(startSimulator(dir, scenario)) {
        dir.write("sts.cfg", config);
        dir.write("relay.cfg", relayConfig);
        platform.attach(&monitor, [this] { binder.flush(); });
        binder.bindAll();
        monitor.start();
    }
    ~StationRig() { platform.attach(nullptr, {}); }
    template <typename T = QWidget>
    T* widget(const char* name, Form form = Form::Form1) {
        return windows[form]->findChild<T*>(name);
    }
    // The last commands the simulator received, oldest first.
    bool lastReceived(const std::vector<std::string>& commands) const {
        const auto received = simulatorReceived(dir);
        return received.size() >= commands.size() &&
               std::equal(commands.rbegin(), commands.rend(), received.rbegin());
    }
    bool received(const std::string& command) const {
        return std::ranges::count(simulatorReceived(dir), command) > 0;
    }
    ProgramDir dir;
    std::unique_ptr<Process> simulator;
    bool lineSet = qputenv("TRELD_COM1", (dir.path() / "sts-line").c_str());
    QtPlatform platform;
    Monitor monitor{platform, dir.path()};
    StationWindows windows{monitor};
    QMainWindow* const form1 = windows.form1.get();
    Binder& binder = windows.binder;
};

// Log in while the event log downloads from a device that answers 250 ms late, move the load
// to source 2, change an option and read it back, log out; a port saved in Settings is used at
// once.
TEST(Operator, LogsInTransfersTheLoadChangesAnOptionLogsOutAndSwitchesThePort) {
    StationRig rig("COMPORT:1\r\nTIMEOUT:1000\r\n", {"--delay", "250"});
    auto* tabs = rig.widget<QTabWidget>("SSTab1");
    auto* rows = rig.widget<QListWidget>("List1");
    tabs->setCurrentIndex(4);
    ASSERT_TRUE(waitFor([&] { return rows->count() >= 2; }));
    rig.widget<QAction>("mnuselogon")->trigger();
    QTest::keyClicks(rig.widget<QLineEdit>("Text1", Form::Form3), "1111");
    rig.widget<QPushButton>("Command1", Form::Form3)->click();
    ASSERT_TRUE(waitFor([&] { return !rig.windows[Form::Form3]->isVisible(); }, 15s));
    EXPECT_TRUE(rig.form1->windowTitle().contains("/User Login"));
    for (int i = 0; i < rows->count(); ++i) {
        const QString row = rows->item(i)->text();  // no login reply taken for a record
        EXPECT_TRUE(row.startsWith(QString::number(i) + "-") && !row.contains("00/00/2000")) << i;
    }

    // A command queued before the poll cycle has seen the tab change is dropped.
    tabs->setCurrentIndex(3);
    ASSERT_TRUE(waitFor([&] { return rig.lastReceived({"SAS", "SAS"}); }));
    rig.widget<QPushButton>("Command2_1")->click();  // Manual XFER to S2
    rig.form1->findChildren<QMessageBox*>().back()->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(waitFor([&] { return rig.received("XF2"); }));
    tabs->setCurrentIndex(0);
    ASSERT_TRUE(waitFor([&] { return rig.widget("Line2")->isVisibleTo(rig.form1); }));
    EXPECT_FALSE(rig.widget("Line1")->isVisibleTo(rig.form1));
    EXPECT_EQ(rig.widget("Label8")->palette().color(QPalette::Window), QColor(255, 255, 192))
        << "source 1 out of use: light yellow";

    tabs->setCurrentIndex(1);
    auto* shown = rig.widget<QLabel>("Label32_7");
    auto* inhibitReset = rig.widget<QComboBox>("Combo1_7");
    ASSERT_TRUE(waitFor([&] { return inhibitReset->currentIndex() == 0; }, 15s)) << "editor loaded";
    EXPECT_EQ(shown->text(), "Automatic");
    emit inhibitReset->activated(1);  // the operator picks "Manual"
    rig.widget<QPushButton>("Command1")->click();
    rig.form1->findChildren<QMessageBox*>().back()->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(waitFor([&] { return shown->text() == "Manual"; }, 20s));

    tabs->setCurrentIndex(0);
    ASSERT_TRUE(waitFor([&] { return rig.lastReceived({"SRV", "OPL"}); }));
    rig.widget<QAction>("mnout")->trigger();
    ASSERT_TRUE(waitFor([&] { return rig.form1->windowTitle().contains("/Logout"); }));
    for (const char* command : {"U1111", "W0039001", "OUT"})
        EXPECT_TRUE(rig.received(command)) << command;

    qputenv("TRELD_COM2", (rig.dir.path() / "no-such-line").c_str());
    rig.widget<QAction>("mnset")->trigger();
    emit rig.widget<QComboBox>("Combo1", Form::Form2)->activated(2);
    rig.widget<QPushButton>("Command1", Form::Form2)->click();
    EXPECT_EQ(rig.widget<QLabel>("Label40")->text(), "COM 2 Not opened select another port");
    const std::size_t polls = simulatorReceived(rig.dir).size();
    QTest::qWait(1500);
    EXPECT_EQ(simulatorReceived(rig.dir).size(), polls) << "nothing more on COM1";
}

// The e-mail test through the real mail program to a loopback mail server: the dialog says
// why the first mail was not sent and that the second was, without making the window wait.
TEST(Settings, EmailTestSaysInTheDialogWhetherTheMailWasSentOrWhyNot) {
    ProgramDir inbox;
    MailSink sink(inbox.path(), "--refuse 1");
    StationRig rig(
        "SENDERADRES:sts@plant.example\r\nRECEIPADRES1:ops@plant.example\r\nSMTPHOST:127.0.0.1:" +
        std::to_string(sink.smtpPort) + "\r\nMAILRETRY:1\r\nFAILDELAY:0\r\n");
    rig.dir.install("drovelin");
    rig.widget<QAction>("mnset")->trigger();
    auto* outcome = rig.widget<QLabel>("MailTestOutcome", Form::Form2);
    auto* mailTest = rig.widget<QPushButton>("Command2", Form::Form2);
    mailTest->click();
    EXPECT_EQ(outcome->text(), "e-mail test: sending...") << "the window did not wait";
    ASSERT_TRUE(waitFor([&] { return outcome->text().startsWith("e-mail test failed"); }, 20s));
    EXPECT_TRUE(outcome->text().contains("no attempt got through. 20"))
        << outcome->text().toStdString();  // the log line, with its date
    mailTest->click();
    EXPECT_TRUE(waitFor([&] { return outcome->text() == "e-mail test: sent."; }, 20s))
        << outcome->text().toStdString();
}

// Bursts, silence, a flood and half-closed sockets: each answered or dropped, polling goes on;
// then a remote monitor watches the device through the relay server.
TEST(RelayServer, HostileClientsHarmNeitherPollingNorLaterClientsAndARemoteMonitorWatches) {
    const int port = freeTcpPort();
    StationRig rig("COMPORT:1\r\nTIMEOUT:500\r\nREMOTEPORT:" + std::to_string(port) + "\r\n");
    using Sockets = std::vector<std::unique_ptr<QTcpSocket>>;
    auto open = [&](int count, const QByteArray& request, bool halfClose = false) {
        Sockets sockets;
        for (int i = 0; i < count; ++i) {
            sockets.push_back(std::make_unique<QTcpSocket>());
            sockets.back()->connectToHost("127.0.0.1", quint16(port));
            sockets.back()->write(request);
            if (halfClose && sockets.back()->waitForBytesWritten())
                shutdown(int(sockets.back()->socketDescriptor()), SHUT_WR);
        }
        return sockets;
    };
    auto closedByTheServer = [](const Sockets& sockets) {
        return waitFor(
            [&] {
                return std::ranges::all_of(sockets, [](auto& socket) {
                    return socket->state() == QAbstractSocket::UnconnectedState;
                });
            },
            20s);
    };
    auto polls = [&] { return double(simulatorReceived(rig.dir).size()); };
    QTest::qWait(1500);
    const auto start = Clock::now();
    const double before = polls();
    const Sockets silent = open(200, "");  // they hold their slots until idle
    EXPECT_TRUE(closedByTheServer(open(1, QByteArray(1 << 20, 'S')))) << "dropped";
    for (int burst = 0; burst < normalOrLong(10, 100); ++burst) {  // answered and closed
        EXPECT_TRUE(closedByTheServer(open(100, "SRV\r")));
        EXPECT_TRUE(closedByTheServer(open(5, "SRV\r", true))) << "half-closed";
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GT((polls() - before) / seconds, 10.0) << "polling went on";
    const Sockets probe = open(1, "SRV\r");
    ASSERT_TRUE(closedByTheServer(probe));
    EXPECT_TRUE(probe[0]->readAll().startsWith("#"));

    // A second monitor, remote, polls through the relay server and shows the same.
    ProgramDir remoteDir;
    remoteDir.write("sts.cfg", "COMPORT:99\r\nREMOTEIP3:127.0.0.1\r\nREMOTEPORT:" +
                                   std::to_string(port) + "\r\n");
    QtPlatform platform;
    Monitor remote(platform, remoteDir.path());
    platform.attach(&remote, {});
    remote.start();
    auto shown = [](Monitor& monitor, const char* name) {
        return monitor.ui()(Form::Form1, name).caption();
    };
    EXPECT_EQ(shown(remote, "Label25"),
              " port:" + std::to_string(port) + " in use; trying again every 10 s");
    remote.select(Form::Form1, "List3", 1);
    remote.click(Form::Form1, "Command5");
    remote.click(Form::Form1, "mnout");  // its command reaches the device through the relay
    EXPECT_TRUE(waitFor([&] {
        return shown(remote, "Label40") == "Logout: OK\r" && !shown(remote, "Label14").empty() &&
               shown(remote, "Label14") == shown(rig.monitor, "Label14");
    }));
    EXPECT_TRUE(rig.received("OUT"));
    platform.attach(nullptr, {});
}

// One request from `source`; what the relay server answered before it closed.
QByteArray relayAnswer(int port, const char* source, const QByteArray& request) {
    QTcpSocket socket;
    socket.bind(QHostAddress(source));
    socket.connectToHost("127.0.0.1", quint16(port));
    socket.write(request);
    waitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; });
    return socket.readAll();
}

// Another host reads but may not command; commands are recorded; remote mode leaves no queue.
TEST(RelayServer, AccessAuditLoginsAndClientsWhileInRemoteMode) {
    const int port = freeTcpPort();
    StationRig rig("COMPORT:1\r\nTIMEOUT:500\r\nREMOTEIP1:127.0.0.1\r\nREMOTEPORT:" +
                       std::to_string(port) + "\r\n",
                   {}, "COMMAND:127.0.0.3\r\n");
    ASSERT_TRUE(waitFor([&] { return relayAnswer(port, "127.0.0.2", "SRV\r").startsWith("#"); }));
    EXPECT_EQ(relayAnswer(port, "127.0.0.2", "INH\r"), "ACCESS DENIED\r");
    EXPECT_EQ(relayAnswer(port, "127.0.0.3", "SON\r"), "LOGON PLEASE\r") << "the device's answer";
    const QByteArray firstLogin = relayAnswer(port, "127.0.0.1", "U0000\r");
    EXPECT_EQ(firstLogin + relayAnswer(port, "127.0.0.1", "U0000\r"),
              "ACCESS DENIED\rACCESS DENIED\r")
        << "the device's answer, then the pace's";
    const std::string log =
        rig.dir.read("SERLOGS/" + QDate::currentDate().toString("yyyy-MM").toStdString() + ".TXT");
    for (const char* line : {"Relay refused INH from 127.0.0.2", "Relay SON from 127.0.0.3",
                             "Relay U**** from 127.0.0.1", "Relay refused U**** from 127.0.0.1"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    EXPECT_FALSE(rig.received("INH"));

    for (int item : {1, 0}) {  // 31 clients in remote mode, then one in local mode
        rig.monitor.select(Form::Form1, "List3", item);
        rig.monitor.click(Form::Form1, "Command5");
        for (int i = 0; i < (item == 1 ? 31 : 1); ++i)
            EXPECT_TRUE(
                relayAnswer(port, "127.0.0.1", "SRV\r").startsWith(item ? "Time out" : "#"));
    }
}

// A sag, a black-out and a silent spell on source 1, read back from the daily trend file
// and the charts.
TEST(Trends, SagBlackOutAndSilenceShowInTheDailyFileAndTheCharts) {
    ProgramDir scenarioDir;
    scenarioDir.write("night.scn",
                      "4s source1 voltage-bad\n16s source1 blackout\n28s source1 restore\n"
                      "40s silent on\n");
    // A generous reply time-out: only the silent spell may count as lost.
    StationRig rig("COMPORT:1\r\nTIMEOUT:2000\r\n",
                   {"--scenario", (scenarioDir.path() / "night.scn").string()});
    rig.widget<QAction>("mntrends")->trigger();
    ASSERT_TRUE(rig.windows[Form::Form6]->isVisible());

    const std::string file =
        "TRENDS/" + QDate::currentDate().toString(Qt::ISODate).toStdString() + ".csv";
    auto rows = [&] {
        std::vector<QStringList> rows;
        for (const QString& line : QString::fromStdString(rig.dir.read(file)).split("\r\n"))
            rows.push_back(line.split(','));
        return rows;
    };
    // Each spell lasts 12 s, so a row every 10 s sees it.
    std::vector<std::string> seen;
    ASSERT_TRUE(waitFor(
        [&] {
            seen.clear();
            for (const QStringList& row : rows()) {
                if (row.size() < 2 || row[0] == "Time")
                    continue;
                const char* kind = row[1].isEmpty()       ? "lost"
                                   : row[1] == "0"        ? "black-out"
                                   : row[1].toInt() < 200 ? "sag"
                                                          : "normal";
                if (seen.empty() ? kind != std::string("lost") : seen.back() != kind)
                    seen.push_back(kind);
            }
            return !seen.empty() && seen.back() == "lost";
        },
        75s));
    EXPECT_EQ(seen, (std::vector<std::string>{"normal", "sag", "black-out", "normal", "lost"}));
    EXPECT_EQ(rows()[0].size(), 17);
    EXPECT_EQ(rows()[0][8], "S2 frequency (Hz)");

    auto* charts = rig.widget<TrendCharts>("TrendCharts", Form::Form6);
    // The silent device: a gap on the source and the output charts, each drawn once its
    // group's reply has timed out.
    ASSERT_TRUE(waitFor(
        [&] {
            return !charts->gapBands(0)->path().isEmpty() && !charts->gapBands(2)->path().isEmpty();
        },
        20s));
    const auto points = static_cast<QLineSeries*>(charts->chart(0)->series()[0])->points();
    ASSERT_GT(points.size(), 20);
    auto [low, high] = std::ranges::minmax_element(points, {}, &QPointF::y);
    EXPECT_EQ(low->y(), 0) << "the black-out";
    EXPECT_GE(high->y(), 226);
    EXPECT_TRUE(std::ranges::any_of(points, [](auto& p) { return p.y() > 170 && p.y() < 200; }))
        << "the sag";
    EXPECT_TRUE(charts->valuesAt(std::int64_t(low->x() / 1000)).contains("S1 L1 (V) 0   S1 L2"));
}

}  // namespace
}  // namespace treld::e2e

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
