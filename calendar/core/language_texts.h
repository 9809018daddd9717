#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kirnal {

// The numbered texts of the language file: captions, month names, the clear-month question and
// the weekday headings. A number the file does not give holds an empty text.
class LanguageTexts {
  public:
    static constexpr int kHighest = 100;

    // Entries used by the calendar window.
    static constexpr int kExitButton = 1;
    static constexpr int kWindowCaption = 2;
    static constexpr int kClearMonthButton = 3;
    static constexpr int kFirstMonthName = 4;  // January; December is 15
    static constexpr int kClearMonthQuestion = 16;
    static constexpr int kClearMonthTitle = 17;
    static constexpr int kFirstWeekdayHeading = 18;  // Sunday; Saturday is 24

    // Takes one line of the file; lines that give no usable entry change nothing.
    void addLine(std::string_view line);
    // Text of entry `number`; empty for an entry not given or outside 1 to 100.
    const std::string& text(int number) const;

  private:
    std::array<std::string, kHighest + 1> texts_;
};

inline constexpr const char* kLanguageFileName = "langkirnal1.TXT";

// Reads the language file; nothing when it cannot be opened or read.
std::optional<LanguageTexts> readLanguageFile(const std::filesystem::path& path);

}  // namespace kirnal
