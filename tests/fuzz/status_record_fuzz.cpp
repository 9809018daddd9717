// The status record: every piece is evaluated as the reply to "SAS", so
// alarm combinations come and go from one piece to the next.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr treld::Int16 kSasSendStep = 7;
    treld::fuzz::FuzzMonitor rig;
    rig.evaluateAsReplyOf(kSasSendStep,
                          std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
