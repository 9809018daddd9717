// relay.cfg beside the program: the address the relay server listens on,
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
    std::vector<AddressRange> commanders;  // COMMAND:
    std::vector<AddressRange> readers;     // READ:
    bool readersListed = false;            // a READ: line was given, even a bad one
    std::vector<int> badLines;             // numbers of lines whose range was not understood

    bool mayRead(std::string_view peer) const;
    bool mayCommand(std::string_view peer) const;
};

// Lines of "KEY:value" read like sts.cfg; unknown keys are ignored. A range
// that cannot be read allows nobody.
RelayAccess readRelayAccessText(std::string_view text);

// A missing file: every peer may read, only loopback may command.
RelayAccess readRelayAccess(const std::filesystem::path& file);

}  // namespace treld
