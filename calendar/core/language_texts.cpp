#include "language_texts.h"

#include <algorithm>
#include <cmath>

#include "foundation/line_reader.h"
#include "foundation/numeric.h"

namespace kirnal {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool LanguageTexts::addLine(std::string_view rawLine) {
    const std::string_view line = trimBlanks(rawLine);
    // The entry number sits in the first three characters, one separator follows, then the text.
    // A fractional number is rounded to the nearest integer, halves to the even one.
    const double number = std::nearbyint(treld::leadingNumber(line.substr(0, 3)));
    const auto control = [](char c) { return (c >= 0 && c < ' ' && c != '\t') || c == 0x7F; };
    if (number < 1 || number > kHighest || line.size() <= 4 ||
        std::ranges::any_of(line.substr(4), control)) {
        return false;
    }
    texts_[static_cast<std::size_t>(number)] = std::string(line.substr(4));
    return true;
}

const std::string& LanguageTexts::text(int number) const {
    static const std::string empty;
    if (number < 1 || number > kHighest) {
        return empty;
    }
    return texts_[static_cast<std::size_t>(number)];
}

namespace {

LanguageTexts builtInTexts() {
    LanguageTexts texts;
    treld::LineReader reader(builtInLanguageFile());
    for (std::string line; reader.next(line);) {
        texts.addLine(line);
    }
    return texts;
}

}  // namespace

std::optional<LanguageTexts> readLanguageFile(const std::filesystem::path& path,
                                              std::string& problem) {
    problem.clear();
    treld::LineReader reader(path);
    if (!reader.isOpen()) {
        return std::nullopt;
    }
    LanguageTexts texts;
    int lineNumber = 0;
    int firstBadLine = 0;
    for (std::string line; reader.next(line);) {
        ++lineNumber;
        if (!texts.addLine(line) && firstBadLine == 0 && !trimBlanks(line).empty()) {
            firstBadLine = lineNumber;
        }
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    const std::string name = kLanguageFileName;
    if (firstBadLine != 0) {
        problem = name + " line " + std::to_string(firstBadLine) +
                  " is not a numbered text: the built-in texts are used.";
        return builtInTexts();
    }
    const LanguageTexts builtIn = builtInTexts();
    for (int number = LanguageTexts::kLastUsed; number >= 1; --number) {
        if (texts.text(number).empty()) {
            texts.addLine(treld::threeDigits(number) + " " + builtIn.text(number));
            problem = name + " has no line " + treld::threeDigits(number) +
                      ": the built-in text is used for it and for every other missing line.";
        }
    }
    return texts;
}

}  // namespace kirnal
