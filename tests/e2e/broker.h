// A mosquitto broker of the test's own on a free loopback port, keeping its
// store across a stop, and mosquitto_sub clients that write what they get
// to a file, one "retained-flag topic payload" line per message.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace treld::e2e {

class Broker {
  public:
    explicit Broker(const ProgramDir& dir);
    int port() const { return port_; }
    // Starts it (again, on the same port) and waits until it accepts.
    void start();
    // SIGTERM: it saves its store of retained messages and sessions.
    void stop();

  private:
    const ProgramDir& dir_;
    int port_;
    std::unique_ptr<Process> process_;
};

struct Received {
    bool retained;
    std::string topic;
    std::string payload;
};

class Subscriber {
  public:
    // A persistent QoS 1 session named `name`, so messages published while
    // it reconnects after a broker restart still reach it.
    Subscriber(const ProgramDir& dir, const Broker& broker, const std::string& topic,
               const std::string& name);
    // The messages so far whose topic ends with `suffix`, once there are
    // `count` of them or `limit` is over.
    std::vector<Received> waitFor(const std::string& suffix, std::size_t count,
                                  std::chrono::milliseconds limit) const;

  private:
    std::filesystem::path file_;
    Process process_;
};

}  // namespace treld::e2e
