#pragma once

#include <memory>
#include <string>

#include "line_end.h"

namespace sts {

// A TCP port on this host's loopback, standing in for a terminal server's raw port: one
// connection at a time is the line; further ones wait until it ends.
class TcpEnd : public LineEnd {
  public:
    static std::unique_ptr<TcpEnd> listen(int port, std::string& error);

    TcpEnd(const TcpEnd&) = delete;
    TcpEnd& operator=(const TcpEnd&) = delete;
    ~TcpEnd() override;

    std::string where() const override { return "tcp 127.0.0.1:" + std::to_string(port_); }
    int fd() const override { return client_ >= 0 ? client_ : listener_; }
    std::string readAvailable() override;
    bool write(std::string_view bytes) override;

  private:
    TcpEnd(int listener, int port) : listener_(listener), port_(port) {}
    void acceptOne();

    int listener_;
    int port_;
    int client_ = -1;
};

}  // namespace sts
