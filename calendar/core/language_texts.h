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
    static constexpr int kLastUsed = 24;

    // Takes one line of the file; false, and nothing changed, when it gives no
    // usable entry (a text with control characters, from a binary file, neither).
    bool addLine(std::string_view line);
    // Text of entry `number`; empty for an entry not given or outside 1 to 100.
    const std::string& text(int number) const;

  private:
    std::array<std::string, kHighest + 1> texts_;
};

inline constexpr const char* kLanguageFileName = "langkirnal1.TXT";

// Reads the language file; nothing when it cannot be opened or read. A line
// that is neither blank nor an entry (a binary or a wrong file) makes every
// text the built-in one; entries 1 to kLastUsed that the file lacks (a file
// cut short) take the built-in text. `problem` then names the first such line,
// else it is empty.
std::optional<LanguageTexts> readLanguageFile(const std::filesystem::path& path,
                                              std::string& problem);

// The built-in texts: langkirnal1.TXT as shipped, built into the program.
std::string_view builtInLanguageFile();

}  // namespace kirnal
