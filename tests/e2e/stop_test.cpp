// The monitor's stop with clients still connected, in a program of its own so that the
// sanitizer build needs only the monitor and the simulator.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "e2e_support.h"

namespace treld::e2e {
namespace {

// A client of loopback `port` that sent `bytes` and stays connected.
int connectedClient(int port, const std::string& bytes) {
    const int client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(std::uint16_t(port)), {htonl(INADDR_LOOPBACK)}, {}};
    if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return client;
}

// Relay clients halfway through a request or waiting for a forwarded command, and metrics
// clients with half a request or an open keep-alive: SIGTERM still ends with exit code 0 and
// "Program end" last in the PC event file.
TEST(Stop, ClientsConnectedToEveryListenerLeaveACleanStop) {
    ProgramDir dir;
    const int relayPort = freeTcpPort(), metricsPort = freeTcpPort();
    dir.write("mqtt.cfg", "METRICS:" + std::to_string(metricsPort) + "\n");
    const auto simulator = startSimulator(dir);
    const auto monitor = startMonitor(
        dir, (dir.path() / "sts-line").string(),
        "COMPORT:1\r\nTIMEOUT:500\r\nREMOTEPORT:" + std::to_string(relayPort) + "\r\n");
    for (int i = 0; i < 200 && simulatorReceived(dir).size() < 3; ++i)
        std::this_thread::sleep_for(50ms);
    std::vector<int> clients;
    for (const char* request : {"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM", "SR", "ZZ\r"})
        for (int i = 0; i < 5; ++i)
            clients.push_back(connectedClient(relayPort, request));
    for (const char* request : {"GET /metr", "GET /metrics HTTP/1.1\r\nHost: a\r\n\r\n"})
        clients.push_back(connectedClient(metricsPort, request));
    std::this_thread::sleep_for(500ms);

    kill(monitor->pid(), SIGTERM);
    EXPECT_EQ(monitor->exitCode(10s), 0);
    const auto month = *std::filesystem::directory_iterator(dir.path() / "SERLOGS");
    EXPECT_TRUE(
        dir.read("SERLOGS/" + month.path().filename().string()).ends_with(" Program end\r\n"));
    for (const int client : clients)
        close(client);
}

}  // namespace
}  // namespace treld::e2e
