// The calendar's language file: every numbered text, in range or not.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"
#include "language_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = treld::fuzz::writeScratchFile(
        kirnal::kLanguageFileName, std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto texts = kirnal::readLanguageFile(file)) {
        for (int number = -1; number <= kirnal::LanguageTexts::kHighest + 1; ++number)
            treld::fuzz::require(texts->text(number).size() <= size, "texts come from the file");
    }
    return 0;
}
