// The relay server and the remote client on real loopback sockets, with the
// Qt platform of the program, in one process.
#include <gtest/gtest.h>

#include <QtCore/qtestsupport_core.h>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>

#include "e2e_support.h"

#include "platform/qt_platform.h"

namespace treld::testing {
namespace {

// A free port below the ephemeral range: RemotePort is a signed 16-bit number.
int freePort() {
    static int next = 20000 + QCoreApplication::applicationPid() % 10000;
    for (;; next = next >= 32767 ? 20000 : next + 1) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, static_cast<quint16>(next)))
            return next++;
    }
}

// A monitor on the real platform with its relay server on `port`; no serial
// port opens unless `config` names one.
struct RealMonitor {
    explicit RealMonitor(int port, const std::string& config = "") {
        dir.write("sts.cfg", "COMPORT:99\r\nREMOTEPORT:" + std::to_string(port) + "\r\n" + config);
        dir.write("DEMOSET.CFG", "SRV:-\r\nOPL:-\r\nSAS:-\r\nFIR:-\r\n");
        platform.attach(&monitor, {});
        monitor.start();
    }
    const std::string& caption(const char* name) {
        return monitor.ui()(Form::Form1, name).caption();
    }

    e2e::ProgramDir dir;
    QtPlatform platform;
    Monitor monitor{platform, dir.path()};
};

// A local monitor on sts-sim serves a bare socket a cached reply and closes it; a remote
// monitor polling through it shows the same values, and its XF1 gets the device's reply.
TEST(RelaySocket, TwoMonitorsWatchOneSimulatedStsThroughTheRelayServer) {
    e2e::ProgramDir sim;
    sim.install("sts-sim");
    const std::filesystem::path line = sim.path() / "sts-line";
    e2e::Process simulator(sim.path() / "sts-sim",
                           {"--link", line.string(), "--trace", (sim.path() / "trace").string()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(line); }));
    qputenv("TRELD_COM7", QByteArray::fromStdString(line.string()));

    const int port = freePort();
    RealMonitor local(port, "COMPORT:7\r\n");
    RealMonitor remote(port, "REMOTEIP3:127.0.0.1\r\n");
    EXPECT_EQ(remote.caption("Label25"), " port:" + std::to_string(port) + " in use");
    remote.monitor.select(Form::Form1, "List3", 1);
    remote.monitor.click(Form::Form1, "Command5");

    EXPECT_TRUE(QTest::qWaitFor([&] {
        return !local.caption("Label26").empty() &&
               remote.caption("Label26") == local.caption("Label26") &&
               remote.caption("Label14") == local.caption("Label14");
    }));
    QTcpSocket client;
    client.connectToHost("127.0.0.1", static_cast<quint16>(port));
    client.write("SRV\r");
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.state() == QTcpSocket::UnconnectedState; }));
    EXPECT_TRUE(client.readAll().endsWith("\r\r")) << "the cached reply and a CR";

    remote.monitor.core().s.PollState = "XF1";
    EXPECT_TRUE(QTest::qWaitFor([&] { return remote.caption("Label40") == "LOGON PLEASE\r"; }));
    EXPECT_NE(sim.read("trace").find(" RX XF1"), std::string::npos);
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
