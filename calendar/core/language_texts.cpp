#include "language_texts.h"

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

void LanguageTexts::addLine(std::string_view rawLine) {
    const std::string_view line = trimBlanks(rawLine);
    // The entry number sits in the first three characters, one separator follows, then the text.
    // A fractional number is rounded to the nearest integer, halves to the even one.
    const double number = std::nearbyint(treld::leadingNumber(line.substr(0, 3)));
    if (number < 1 || number > kHighest || line.size() <= 4) {
        return;
    }
    texts_[static_cast<std::size_t>(number)] = std::string(line.substr(4));
}

const std::string& LanguageTexts::text(int number) const {
    static const std::string empty;
    if (number < 1 || number > kHighest) {
        return empty;
    }
    return texts_[static_cast<std::size_t>(number)];
}

std::optional<LanguageTexts> readLanguageFile(const std::filesystem::path& path) {
    treld::LineReader reader(path);
    if (!reader.isOpen()) {
        return std::nullopt;
    }
    LanguageTexts texts;
    std::string line;
    while (reader.next(line)) {
        texts.addLine(line);
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return texts;
}

}  // namespace kirnal
