// relay.cfg in the station directory: the address the relay server listens on,
// who may use it at all and who may send it commands that act on the device.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treld {

// One address or an IPv4 range in CIDR form ("10.0.0.0/24"). Addresses other
// than IPv4 match only as written.
class AddressRange {
  public:
    static std::optional<AddressRange> parse(std::string_view text);
    bool contains(std::string_view address) const;

  private:
    std::string exact_;  // an address that is not IPv4
    std::uint32_t network_ = 0;
    std::uint32_t mask_ = 0;
};

// 127.0.0.1 and ::1: this PC itself, always allowed. Other 127.x addresses
// count as other hosts.
bool isLoopback(std::string_view address);

struct RelayAccess {
    std::string listenAddress;             // LISTEN:, empty for every interface
    bool listenAllowed = true;             // false: the file or its LISTEN: line is unreadable
    std::vector<AddressRange> commanders;  // COMMAND:
    std::vector<AddressRange> readers;     // READ:
    bool readersListed = false;            // a READ: line was given, even a bad one
    bool unreadable = false;               // relay.cfg exists but cannot be read
    int firstBadLine = 0;                  // of the lines not understood
    int badLineCount = 0;

    bool mayRead(std::string_view peer) const;
    bool mayCommand(std::string_view peer) const;
    // What is wrong with the file, "" when nothing is.
    std::string problem() const;
};

// relay.cfg: lines of "KEY:value" read like sts.cfg, keys in capitals exactly
// as written (a byte-order mark or a blank before one makes another key);
// blank lines are skipped. A line that cannot be read allows nobody for the
// rule it seems meant for: a bad LISTEN: line keeps the relay from listening,
// a bad COMMAND: line adds no commander, any other one limits reading to the
// READ: and COMMAND: peers, as a READ: line would. A missing file: every peer
// may read, only loopback may command. One that exists but cannot be read:
// only loopback may read or command, and the relay does not listen.
RelayAccess readRelayAccess(const std::filesystem::path& file);

}  // namespace treld
