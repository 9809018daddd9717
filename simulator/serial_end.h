#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "line_end.h"

namespace sts {

// The simulator's end of the line: the master side of a pseudo-terminal, or a real serial
// device at 2400 baud 8N1. Non-blocking, raw (no echo, no line editing). Closes on destruction.
class SerialEnd : public LineEnd {
  public:
    static std::unique_ptr<SerialEnd> openPty(std::string& error);
    static std::unique_ptr<SerialEnd> openDevice(const std::string& path, std::string& error);

    SerialEnd(const SerialEnd&) = delete;
    SerialEnd& operator=(const SerialEnd&) = delete;
    ~SerialEnd() override;

    const std::string& peerPath() const { return peerPath_; }  // the path others open
    std::string where() const override { return (pty_ ? "pty " : "device ") + peerPath_; }
    int fd() const override { return fd_; }
    // Empty when nothing is waiting (or no one has the other end open).
    std::string readAvailable() override;
    bool write(std::string_view bytes) override;

  private:
    SerialEnd(int fd, std::string peerPath, bool pty)
        : fd_(fd), peerPath_(std::move(peerPath)), pty_(pty) {}

    int fd_;
    std::string peerPath_;
    bool pty_;
};

}  // namespace sts
