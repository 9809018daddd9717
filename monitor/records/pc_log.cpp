#include "records/pc_log.h"

#include <cstdio>
#include <fstream>
#include <system_error>

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
    const std::filesystem::path folder = c.programDir / "SERLOGS";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    const std::filesystem::path file = folder / pcLogFileName(at);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << pcLogLine(c.s.PcLogEventCode, c.s.PcLogEventText, at);
    out.close();
    if (c.pcLogEvent)
        c.pcLogEvent(c.s.PcLogEventCode, c.s.PcLogEventText, at);

    if (out) {
        c.log.PcLogFailureShown = false;
    } else if (!c.log.PcLogFailureShown) {
        c.log.PcLogFailureShown = true;
        c.form1("Label40").setCaption("PC log not written: " + file.string());
    }
}

void startCalendar(Core& c) {
    c.platform.startProgram((c.programDir / "kirnal").string(), "");
}

}  // namespace treld
