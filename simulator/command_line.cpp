#include "command_line.h"

#include "device_clock.h"

namespace sts {

const char* const kUsage =
    "usage: sts-sim [options]\n"
    "  --device PATH            use a real serial device (2400 8N1) instead of a pty\n"
    "  --link PATH              symlink PATH to the pty (removed at exit)\n"
    "  --trace FILE             append every received command and sent reply to FILE\n"
    "  --scenario FILE          play the timed faults in FILE\n"
    "  --service-password XXXX  four characters (default 9999)\n"
    "  --user-password XXXX     four characters (default 1111)\n"
    "  --seed N                 seed of the measurement drift (default 1)\n"
    "  --baud N                 answer at the pace of an N-baud line (10 bits a character)\n"
    "  --count N                play N switches, each on its own line (1..1000)\n"
    "  --tcp PORT               listen on 127.0.0.1:PORT (and the next N-1 ports) instead\n"
    "  --silent | --garbage | --no-cr | --chunks N | --delay MS   line faults from the start\n"
    "  --help | --version       say this or the version, and end\n";

namespace {

bool validPassword(const std::string& text) {
    if (text.size() != 4) {
        return false;
    }
    for (char c : text) {
        if (c <= ' ' || c > '~') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<SimOptions> parseCommandLine(const std::vector<std::string>& arguments,
                                           std::string& error) {
    SimOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--silent") {
            options.faults.silent = true;
            continue;
        }
        if (name == "--garbage") {
            options.faults.garbage = true;
            continue;
        }
        if (name == "--no-cr") {
            options.faults.noCr = true;
            continue;
        }
        if (name == "--help" || name == "--version") {
            (name == "--help" ? options.help : options.version) = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name.rfind("--", 0) == 0 ? "missing value after " + name
                                             : "unexpected argument " + name;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        const int number = value.size() <= 6 ? parseDigits(value) : -1;
        if (name == "--device") {
            options.devicePath = value;
        } else if (name == "--link") {
            options.linkPath = value;
        } else if (name == "--trace") {
            options.tracePath = value;
        } else if (name == "--scenario") {
            options.scenarioPath = value;
        } else if (name == "--service-password" || name == "--user-password") {
            if (!validPassword(value)) {
                error = name + " needs exactly four printable characters";
                return std::nullopt;
            }
            (name == "--service-password" ? options.servicePassword : options.userPassword) = value;
        } else if (name == "--seed" && number >= 0) {
            options.seed = static_cast<unsigned>(number);
        } else if (name == "--baud" && number >= 50 && number <= 115200) {
            options.baud = number;
        } else if (name == "--count" && number >= 1 && number <= 1000) {
            options.count = number;
        } else if (name == "--tcp" && number >= 1 && number <= 65535) {
            options.tcpPort = number;
        } else if (name == "--chunks" && number >= 1 && number <= 64) {
            options.faults.chunks = number;
        } else if (name == "--delay" && number >= 0 && number <= 60000) {
            options.faults.delayMs = number;
        } else {
            error = "bad option or value: " + name + " " + value;
            return std::nullopt;
        }
    }
    const char* conflict =
        options.tcpPort > 0 && options.tcpPort + options.count - 1 > 65535
            ? "--tcp: the ports of --count switches run past 65535"
        : options.tcpPort > 0 && !(options.devicePath.empty() && options.linkPath.empty())
            ? "--tcp takes neither --device nor --link"
        : options.count > 1 && !options.devicePath.empty()
            ? "--device is one switch's line: it takes no --count"
            : nullptr;
    if (conflict != nullptr) {
        error = conflict;
        return std::nullopt;
    }
    return options;
}

}  // namespace sts
