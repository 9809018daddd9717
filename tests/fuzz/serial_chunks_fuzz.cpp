// The serial receive handler fed arbitrary chunk sequences: the first byte
// picks the tab, every piece of the rest arrives as one chunk and is
// followed by a poll tick, whether or not a command is outstanding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    constexpr int kTabs = 5;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    treld::fuzz::FuzzMonitor rig;
    rig.showTab(data[0] % kTabs);
    for (std::string_view chunk : treld::fuzz::splitAtMarker(input.substr(1))) {
        rig.monitor.onSerialData(chunk);
        rig.checkBounds();
        rig.tick();
    }
    return 0;
}
