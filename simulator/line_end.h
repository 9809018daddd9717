#pragma once

#include <string>
#include <string_view>

namespace sts {

// The simulator's end of a line to a monitor: a pseudo-terminal, a serial device or a TCP port
// standing in for a terminal server. Non-blocking; closes on destruction.
class LineEnd {
  public:
    virtual ~LineEnd() = default;

    // Where the monitor finds it, for the first lines on stdout: "pty /dev/pts/7",
    // "device /dev/ttyUSB0", "tcp 127.0.0.1:4001".
    virtual std::string where() const = 0;
    // The descriptor to wait on for input (and, on a TCP port, for a connection).
    virtual int fd() const = 0;
    // Called when fd() is ready; gives what arrived, empty when nothing did.
    virtual std::string readAvailable() = 0;
    // Writes as much as the line takes now; false when bytes were dropped.
    virtual bool write(std::string_view bytes) = 0;
};

}  // namespace sts
