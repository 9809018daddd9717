// sts.cfg: any text reads without harm, and writing what was read and
// reading it again loses nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/station_config.h"
#include "fuzz_monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace treld;
    StationConfig first;
    if (!readConfigText(std::string_view(reinterpret_cast<const char*>(data), size), first))
        return 0;
    const std::string written = writeConfigText(first, first.ComPort);
    StationConfig second;
    fuzz::require(readConfigText(written, second), "a written file reads back completely");
    fuzz::require(writeConfigText(second, second.ComPort) == written,
                  "a written file reads back unchanged");
    return 0;
}
