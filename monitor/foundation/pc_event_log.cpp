#include "foundation/pc_event_log.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace treld {

std::string pcLogLine(Int16 code, std::string_view text, const LocalDateTime& at) {
    // A negative code brings its own sign where the blank would be.
    std::string line = code < 0 ? std::to_string(code) : " " + std::to_string(code);
    line += " " + twoDigits(at.day) + "-" + twoDigits(at.month) + "-" + std::to_string(at.year) +
            "--" + twoDigits(at.hour) + ":" + twoDigits(at.minute) + ":" + twoDigits(at.second) +
            " ";
    line += text;
    line += "\r\n";
    return line;
}

std::optional<PcLogEntry> parsePcLogLine(std::string_view line) {
    // " 100 05-12-2026--14:05:00 -Overload": the code's own sign or a blank first.
    const std::size_t blank = line.find(' ', 1);
    if (line.size() < 2 || blank == std::string_view::npos || line.size() < blank + 21 ||
        line[blank + 21] != ' ')
        return std::nullopt;
    int code = 0;
    const std::string_view number = line.substr(line[0] == ' ' ? 1 : 0, blank - (line[0] == ' '));
    const auto read = std::from_chars(number.data(), number.data() + number.size(), code);
    if (read.ec != std::errc{} || read.ptr != number.data() + number.size() || code < -32768 ||
        code > 32767)
        return std::nullopt;
    // dd-mm-yyyy--hh:mm:ss, every digit where the line writes one.
    const std::string_view stamp = line.substr(blank + 1, 20);
    constexpr std::string_view kForm = "00-00-0000--00:00:00";
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        if (kForm[i] == '0' ? !std::isdigit(static_cast<unsigned char>(stamp[i]))
                            : stamp[i] != kForm[i])
            return std::nullopt;
    }
    const auto digits = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i)
            value = value * 10 + (stamp[i] - '0');
        return value;
    };
    PcLogEntry entry{static_cast<Int16>(code), {}, line.substr(blank + 22)};
    entry.at.day = digits(0, 2);
    entry.at.month = digits(3, 2);
    entry.at.year = digits(6, 4);
    entry.at.hour = digits(12, 2);
    entry.at.minute = digits(15, 2);
    entry.at.second = digits(18, 2);
    return entry;
}

std::string pcLogFileName(const LocalDateTime& at) {
    char name[24];
    std::snprintf(name, sizeof name, "%04d-%02d.TXT", at.year, at.month);
    return name;
}

void PcEventLog::WritePcLog(Int16 code, std::string_view text, const LocalDateTime& at) {
    const std::string problem =
        pending_.append(stationDir_ / "SERLOGS" / pcLogFileName(at), pcLogLine(code, text, at));
    if (published)
        published(code, text, at);
    if (!problem.empty())
        statusLine_.say(Said::PcLogNotWritten,
                        {pending_.stuckFile().string(), problem, pending_.keptText("line")});
}

}  // namespace treld
