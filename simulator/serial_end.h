#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sts {

// The simulator's end of the line: the master side of a pseudo-terminal, or a real serial
// device at 2400 baud 8N1. Non-blocking, raw (no echo, no line editing). Closes on destruction.
class SerialEnd {
  public:
    static std::optional<SerialEnd> openPty(std::string& error);
    static std::optional<SerialEnd> openDevice(const std::string& path, std::string& error);

    SerialEnd(SerialEnd&& other) noexcept;
    SerialEnd& operator=(SerialEnd&&) = delete;
    ~SerialEnd();

    int fd() const { return fd_; }
    const std::string& peerPath() const { return peerPath_; }  // the path others open

    // Reads what is waiting; empty when nothing is (or no one has the other end open).
    std::string readAvailable();
    // Writes as much as the line takes now; returns false when bytes were dropped.
    bool write(std::string_view bytes);

  private:
    SerialEnd(int fd, std::string peerPath) : fd_(fd), peerPath_(std::move(peerPath)) {}

    int fd_;
    std::string peerPath_;
};

}  // namespace sts
