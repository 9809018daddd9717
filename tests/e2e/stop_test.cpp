// The monitor's stop with clients still connected, in a program of its own so that the
// sanitizer build needs only the monitor and the simulator.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

// Relay clients halfway through a request or waiting for a forwarded command, metrics clients
// with half a request or an open keep-alive, all still connected: SIGTERM ends the monitor with
// exit code 0 and "Program end" last in the PC event file.
TEST(Stop, ClientsConnectedToEveryListenerLeaveACleanStop) {
    ProgramDir dir;
    const int relay = freeTcpPort(), metrics = freeTcpPort();
    dir.write("mqtt.cfg", "METRICS:" + std::to_string(metrics) + "\n");
    const auto simulator = startSimulator(dir);
    const auto monitor = startMonitor(dir, (dir.path() / "sts-line").string(),
                                      "COMPORT:1\r\nREMOTEPORT:" + std::to_string(relay) + "\r\n");
    for (int i = 0; i < 200 && simulatorReceived(dir).size() < 3; ++i)
        std::this_thread::sleep_for(50ms);
    for (const auto& [port, request] : std::vector<std::pair<int, std::string>>{
             {relay, std::string(40, 'M')},
             {relay, "SR"},
             {relay, "ZZ\r"},
             {metrics, "GET /metr"},
             {metrics, "GET /metrics HTTP/1.1\r\nHost: a\r\n\r\n"}}) {
        for (int i = 0; i < 5; ++i) {  // left open until the test program ends
            const int client = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in to{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
            if (connect(client, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
                send(client, request.data(), request.size(), MSG_NOSIGNAL);
        }
    }
    std::this_thread::sleep_for(500ms);
    kill(monitor->pid(), SIGTERM);
    EXPECT_EQ(monitor->exitCode(10s), 0);
    const auto month = *std::filesystem::directory_iterator(dir.path() / "SERLOGS");
    EXPECT_TRUE(
        dir.read("SERLOGS/" + month.path().filename().string()).ends_with(" Program end\r\n"));
}

}  // namespace
}  // namespace treld::e2e
