#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link_faults.h"

namespace sts {

struct SimOptions {
    std::string devicePath;  // empty: open a pseudo-terminal
    std::string linkPath;    // symlink to the pseudo-terminal, removed at exit
    std::string tracePath;
    std::string scenarioPath;
    std::string servicePassword = "9999";
    std::string userPassword = "1111";
    unsigned seed = 1;
    int baud = 0;     // the line's pace; 0: every character at once
    int count = 1;    // switches, each on its own line
    int tcpPort = 0;  // the first switch's TCP port on the loopback; 0: pseudo-terminals
    LinkFaults faults;
    bool help = false;     // --help: print kUsage and end
    bool version = false;  // --version: print the version and end
};

extern const char* const kUsage;

// Gives nothing and sets error on an unknown option or a bad value.
std::optional<SimOptions> parseCommandLine(const std::vector<std::string>& arguments,
                                           std::string& error);

}  // namespace sts
