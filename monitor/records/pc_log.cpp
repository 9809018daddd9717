#include "records/pc_log.h"

#include <cstdio>

#include "foundation/file_append.h"

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

void WritePcLog(Core& c) {
    const LocalDateTime at = c.platform.now();
    const std::filesystem::path file = c.programDir / "SERLOGS" / pcLogFileName(at);
    const std::string problem =
        appendToFile(file, pcLogLine(c.s.PcLogEventCode, c.s.PcLogEventText, at));
    if (c.pcLogEvent)
        c.pcLogEvent(c.s.PcLogEventCode, c.s.PcLogEventText, at);
    if (problem.empty()) {
        c.log.pcLogFailureShown = false;
    } else if (!c.log.pcLogFailureShown) {
        c.log.pcLogFailureShown = true;
        c.ui(kStatusLine).setCaption("PC log not written: " + file.string() + ": " + problem);
    }
}

void startCalendar(Core& c) {
    c.platform.startProgram((c.programDir / "kirnal").string(), "");
}

}  // namespace treld
