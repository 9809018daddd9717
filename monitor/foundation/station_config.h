// sts.cfg: the station configuration in its directory, lines of "KEY:value".
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/line_reader.h"
#include "foundation/numeric.h"

namespace treld {

struct StationConfig {
    Int16 ComPort = 1;
    std::string SenderName;
    std::string SenderAddress;
    std::string RecipientName1;
    std::string RecipientAddress1;
    std::string RecipientName2;
    std::string RecipientAddress2;
    std::string RecipientName3;
    std::string RecipientAddress3;
    std::string StationName;
    std::string MailSubject;
    Int16 EmailEnable = 0;
    std::string SmtpHost;
    std::string SmtpUserName;
    std::string SmtpPassword;
    Int16 UseAuthentication = 0;
    Int16 UsePopAuthentication = 0;
    std::string Pop3Host;
    // The mail program's attempts and the seconds between them; the monitor
    // only keeps them from one Save to the next.
    Int16 MailRetry = 4;
    Int16 FailDelay = 5;
    std::string RemoteIp1;
    std::string RemoteIp2;
    std::string RemoteIp3;
    Int16 RemotePort = 1118;
    Int16 ReplyTimeout = 0;
};

// Walks the lines of a configuration text. The key is the text up to and
// including the first colon (empty when the line has none), the value all
// that follows it. Stops early when `entry` returns false.
void forEachConfigLine(
    std::string_view text,
    const std::function<bool(std::string_view key, std::string_view value)>& entry);
// The same over a file's lines (or a text's) read in constant memory.
void forEachConfigLine(
    LineReader& lines,
    const std::function<bool(std::string_view key, std::string_view value)>& entry);

// An integer value: the leading number rounded to the nearest integer, halves
// to even; nothing when it does not fit a signed 16-bit integer.
std::optional<Int16> configInteger(std::string_view value);

// Overlays the values of a configuration text on `config`. Unknown keys are
// ignored, text values kept untrimmed (bytes that are not UTF-8, from an older
// file, are read as the Windows code page), the last occurrence of a key wins. An
// integer out of range ends the reading there with ComPort 1; false then.
bool readConfigText(std::string_view text, StationConfig& config);

// ReadConfig: reads the file over `config`; a missing or unreadable file
// leaves the defaults with ComPort 1. A REMOTEPORT of 0 or less becomes 1118.
// Returns a text for each value the monitor does not take as written (the
// file unreadable, a value out of range, COMPORT 0, a REMOTEPORT that is no
// port, a TIMEOUT that is no wait), naming the key and the value used.
std::vector<std::string> ReadConfig(const std::filesystem::path& file, StationConfig& config);

// The reply time-out in ms: a configured 0 or less would wait for ever, so
// 1000 ms stands in for it.
inline int replyTimeoutMs(Int16 configured) {
    return configured > 0 ? configured : 1000;
}

// The 25 lines of the file in their fixed order, each ended by CR LF.
// `comPortValue` is what the COMPORT: line carries.
std::string writeConfigText(const StationConfig& config, Int16 comPortValue);

// The longest text value, in characters, that Settings saves and the mail
// program takes (a subject, a name, a password): one limit for both.
inline constexpr std::size_t kLongestConfigText = 500;

// The key of a field in the file ("SENDERADRES:" for SenderAddress).
std::string_view configKey(std::string StationConfig::*field);
std::string_view configKey(Int16 StationConfig::*field);

// The mail program beside the monitor; it reads its account from sts.cfg,
// writes one line per attempt to its log beside it and tells by its exit
// code how the mail went.
inline constexpr std::string_view kMailProgram = "drovelin";
inline constexpr std::string_view kMailLog = "drovelin.log";
enum MailExitCode {
    kMailSent = 0,
    kMailNotSent = 1,         // every attempt failed
    kMailBadArgument = 2,     // not "1&&send++..." or "1&&test message++..."
    kMailUnusableConfig = 3,  // sts.cfg missing, or its mail settings unusable or unsafe
};

// Removes what a Save cut short left beside `file` (it may hold the mail
// password): Save's temporary file ("sts.cfg.XXXXXX", six letters or digits)
// and the "sts.cfg.new" of an earlier version. Only the monitor holding the
// program directory's lock calls it, so no Save of its own is under way.
void removeLeftoverTemporaries(const std::filesystem::path& file);

}  // namespace treld
