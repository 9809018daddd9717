// The relay server and the remote client on real loopback sockets, with the
// Qt platform of the program, in one process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <fstream>

#include "e2e_support.h"

#include "platform/qt_platform.h"
#include "support/virtual_rig.h"

namespace treld::testing {
namespace {

bool spinUntil(const std::function<bool()>& done, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A port that is free now. RemotePort is a signed 16-bit number, so the
// system's ephemeral ports (from 32768) do not fit it.
int freePort() {
    static int next = 20000 + QCoreApplication::applicationPid() % 10000;
    for (;; next = next >= 32767 ? 20000 : next + 1) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, static_cast<quint16>(next)))
            return next++;
    }
}

// A monitor on the real platform; no serial port opens unless the
// configuration names one (COMPORT:99 by default).
struct RealMonitor {
    explicit RealMonitor(const std::string& config) {
        std::ofstream(dir.path() / "sts.cfg") << "COMPORT:99\r\nTIMEOUT:1000\r\n" << config;
        std::ofstream(dir.path() / "DEMOSET.CFG") << "SRV:-\r\nOPL:-\r\nSAS:-\r\nFIR:-\r\n";
        platform.attach(&monitor, {});
        monitor.start();
    }
    const std::string& caption(const char* name) {
        return monitor.ui()(Form::Form1, name).caption();
    }

    TempDir dir;
    QtPlatform platform;
    Monitor monitor{platform, dir.path()};
};

TEST(RelaySocket, CachedReplyIsAnsweredAndTheServerCloses) {
    const int port = freePort();
    RealMonitor server("REMOTEPORT:" + std::to_string(port) + "\r\n");
    server.monitor.core().s.CommandTable[1].CachedReply = "#cached\r";

    QTcpSocket client;
    QByteArray received;
    QObject::connect(&client, &QTcpSocket::readyRead, [&] { received += client.readAll(); });
    client.connectToHost("127.0.0.1", static_cast<quint16>(port));
    client.write("SR");
    ASSERT_TRUE(spinUntil([&] { return client.bytesToWrite() == 0; }));
    client.write("V\r");
    EXPECT_TRUE(spinUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(received, QByteArray("#cached\r\r"));
}

TEST(RelaySocket, TakenPortIsReported) {
    const int port = freePort();
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::Any, static_cast<quint16>(port)));
    RealMonitor server("REMOTEPORT:" + std::to_string(port) + "\r\n");
    EXPECT_EQ(server.caption("Label25"), " port:" + std::to_string(port) + " in use");
}

// A local monitor with sts-sim on a pseudo-terminal, a remote one polling
// through its relay server: same values, and the remote's command reaches
// the simulator and its reply comes back.
TEST(RelaySocket, TwoMonitorsWatchOneSimulatedSts) {
    e2e::ProgramDir sim;
    sim.install("sts-sim");
    const std::filesystem::path line = sim.path() / "sts-line";
    e2e::Process simulator(sim.path() / "sts-sim",
                           {"--link", line.string(), "--trace", (sim.path() / "trace").string()});
    ASSERT_TRUE(spinUntil([&] { return std::filesystem::exists(line); }));
    qputenv("TRELD_COM7", QByteArray::fromStdString(line.string()));

    const std::string port = "REMOTEPORT:" + std::to_string(freePort()) + "\r\n";
    RealMonitor local(port + "COMPORT:7\r\n");
    RealMonitor remote(port + "REMOTEIP3:127.0.0.1\r\n");
    remote.monitor.select(Form::Form1, "List3", 1);
    remote.monitor.click(Form::Form1, "Command5");
    ASSERT_EQ(remote.monitor.core().s.RemoteMode, 3);

    EXPECT_TRUE(spinUntil([&] {
        return !local.caption("Label26").empty() &&
               remote.caption("Label26") == local.caption("Label26") &&
               remote.caption("Label14") == local.caption("Label14");
    }));

    remote.monitor.core().s.PollState = "XF1";
    EXPECT_TRUE(spinUntil([&] { return remote.caption("Label40") == "LOGON PLEASE\r"; }));
    EXPECT_NE(sim.read("trace").find(" RX XF1"), std::string::npos);
}

}  // namespace
}  // namespace treld::testing

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
