// "#" measurement replies: the first byte picks SRV, OPL, FIR, CLK or DAT;
// every piece of the rest is evaluated as that command's reply.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr std::array<treld::Int16, 5> kSendSteps = {1, 3, 9, 11, 13};
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    treld::fuzz::FuzzMonitor rig;
    rig.evaluateAsReplyOf(kSendSteps[data[0] % kSendSteps.size()], input.substr(1));
    return 0;
}
