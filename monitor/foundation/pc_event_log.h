// The PC event files, SERLOGS/yyyy-mm.TXT in the station directory: the one writer
// of an event, for every layer.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/numeric.h"
#include "foundation/pending_lines.h"
#include "foundation/platform.h"
#include "foundation/status_line.h"

namespace treld {

// " " + code + " " + dd-mm-yyyy--hh:mm:ss + " " + text + CR LF.
std::string pcLogLine(Int16 code, std::string_view text, const LocalDateTime& at);

// A line of a PC event file read back: the code, the wall-clock time as
// written (year to second) and the text. Nothing for a line of another form.
struct PcLogEntry {
    Int16 code;
    LocalDateTime at;  // only year, month, day, hour, minute and second
    std::string_view text;
};
std::optional<PcLogEntry> parsePcLogLine(std::string_view line);

// "yyyy-mm.TXT", the file of that month.
std::string pcLogFileName(const LocalDateTime& at);

// Under 100 KB of lines: hours of a bad fault's events while the disk stays full.
inline constexpr std::size_t kPcLogKeptLines = 1000;

class PcEventLog {
  public:
    PcEventLog(Platform& platform, const std::filesystem::path& stationDir, StatusLine& statusLine)
        : platform_(platform), stationDir_(stationDir), statusLine_(statusLine) {}

    // Appends the event to the file of the current month, creating SERLOGS
    // when it is missing, and tells `published`. The file is opened, appended
    // to and closed for each line, so the calendar may read or delete it in
    // between. A line that cannot be written is kept (kPcLogKeptLines at
    // most, the newest) and said in the status line with the count kept; it
    // never stops the caller. Kept lines go first, with their own time and
    // to the file of their own month, as soon as a write works again.
    void WritePcLog(Int16 code, std::string_view text) { WritePcLog(code, text, platform_.now()); }
    // The same with the event's own time, into the file of its month.
    void WritePcLog(Int16 code, std::string_view text, const LocalDateTime& at);
    // Writes the kept lines now if it works again; the conductor calls it
    // every second.
    void retryKept() { pending_.retry(); }
    // The lines of `file` kept to be written later.
    std::string keptFor(const std::filesystem::path& file) const { return pending_.keptFor(file); }

    // Told of every event, written to its file or not (the Monitor hands it
    // to the fleet and the notifications); may be empty.
    std::function<void(Int16 code, std::string_view text, const LocalDateTime& at)> published;

  private:
    Platform& platform_;
    const std::filesystem::path& stationDir_;
    StatusLine& statusLine_;
    PendingLines pending_{kPcLogKeptLines};
};

}  // namespace treld
