// Event-log records: on the "Log event" tab every command of the download
// gets the next piece as its reply.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"
#include "link/exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    treld::fuzz::FuzzMonitor rig;
    rig.showTab(treld::kLogTab);
    rig.answerCommands(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
