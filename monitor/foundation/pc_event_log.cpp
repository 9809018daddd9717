#include "foundation/pc_event_log.h"

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
