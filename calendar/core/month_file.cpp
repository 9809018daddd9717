#include "month_file.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "foundation/line_reader.h"
#include "foundation/numeric.h"

namespace kirnal {

namespace {

std::size_t skipBlanks(std::string_view line, std::size_t i) {
    while (i < line.size() && line[i] == ' ') {
        ++i;
    }
    return i;
}

}  // namespace

std::filesystem::path monthFilePath(const std::filesystem::path& stationDir, YearMonth month) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02d.TXT", month.year, month.month);
    return stationDir / "SERLOGS" / name;
}

std::string_view eventTextOf(std::string_view line) {
    std::size_t i = skipBlanks(line, 0);
    while (i < line.size() && line[i] != ' ' && line[i] != ',') {
        ++i;
    }
    i = skipBlanks(line, i);
    if (i < line.size() && line[i] == ',') {
        i = skipBlanks(line, i + 1);
    }
    if (i < line.size() && line[i] == '"') {
        const std::size_t start = i + 1;
        return line.substr(start, line.find('"', start) - start);
    }
    return line.substr(i, line.find(',', i) - i);
}

int dayOfEventText(std::string_view text) {
    return static_cast<int>(std::nearbyint(treld::leadingNumber(text.substr(0, 2))));
}

bool forEachEventText(const std::filesystem::path& file,
                      const std::function<void(std::string_view text)>& onText) {
    treld::LineReader reader(file);
    if (!reader.isOpen()) {
        return false;
    }
    std::string line;
    while (reader.next(line)) {
        const std::string_view text = eventTextOf(line);
        if (!text.empty()) {
            onText(text);
        }
    }
    return true;
}

}  // namespace kirnal
