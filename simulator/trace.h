#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "device_clock.h"

namespace sts {

// Appends one line per event on the line: "<ms> RX <command>", "<ms> TX <bytes>",
// "<ms> DROP <why>". Bytes outside printable ASCII are written as \r, \n or \xNN.
class Trace {
  public:
    Trace() = default;
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace();

    bool open(const std::string& path);
    void write(Millis now, std::string_view kind, std::string_view text);

  private:
    std::FILE* file_ = nullptr;
};

std::string escapeForTrace(std::string_view text);

}  // namespace sts
