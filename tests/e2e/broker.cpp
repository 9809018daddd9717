#include "broker.h"

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace treld::e2e {
namespace {

bool accepts(int port) {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}};
    const bool open = connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(probe);
    return open;
}

}  // namespace

Broker::Broker(const ProgramDir& dir) : dir_(dir), port_(freeTcpPort()) {
    // As root the broker would change to its own user, who cannot write here.
    dir.write("broker.conf", "log_dest file " + (dir.path() / "broker.log").string() +
                                 "\nlistener " + std::to_string(port_) +
                                 " 127.0.0.1\nallow_anonymous true\npersistence true\n"
                                 "persistence_location " +
                                 dir.path().string() + "/\nuser " + getpwuid(getuid())->pw_name +
                                 "\n");
    start();
}

void Broker::start() {
    process_ = std::make_unique<Process>(
        "/usr/sbin/mosquitto",
        std::vector<std::string>{"-c", (dir_.path() / "broker.conf").string()});
    for (int i = 0; i < 100 && !accepts(port_); ++i)
        std::this_thread::sleep_for(20ms);
}

void Broker::stop() {
    process_->signal(SIGTERM);
    while (process_->running())
        std::this_thread::sleep_for(20ms);
}

Subscriber::Subscriber(const ProgramDir& dir, const Broker& broker, const std::string& topic,
                       const std::string& name)
    : file_(dir.path() / (name + ".txt")),
      process_("/bin/sh",
               {"-c", "exec mosquitto_sub -p " + std::to_string(broker.port()) + " -q 1 -c -i " +
                          name + " -t '" + topic + "' -F '%r %t %p' > " + file_.string()}) {}

std::vector<Received> Subscriber::waitFor(const std::string& suffix, std::size_t count,
                                          std::chrono::milliseconds limit) const {
    const Clock::time_point end = Clock::now() + limit;
    std::vector<Received> found;
    for (; found.size() < count && Clock::now() < end; std::this_thread::sleep_for(50ms)) {
        found.clear();
        std::ifstream in(file_);
        for (std::string line; std::getline(in, line);) {
            const std::size_t topicEnd = line.find(' ', 2);
            if (topicEnd != std::string::npos && line.substr(2, topicEnd - 2).ends_with(suffix))
                found.push_back(
                    {line[0] == '1', line.substr(2, topicEnd - 2), line.substr(topicEnd + 1)});
        }
    }
    return found;
}

}  // namespace treld::e2e
