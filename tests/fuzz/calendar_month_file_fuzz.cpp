// The calendar's month files: every event text and the day it belongs to.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"
#include "month_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = treld::fuzz::writeScratchFile(
        "2026-12.TXT", std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t characters = 0;
    kirnal::forEachEventText(file, [&](std::string_view text) {
        characters += text.size();
        kirnal::dayOfEventText(text);
    });
    treld::fuzz::require(characters <= size, "event texts come from the file");
    return 0;
}
