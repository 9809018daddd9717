// drovelin.log beside the program: one line per attempt, kept to a bounded size.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace drovelin {

inline constexpr std::uintmax_t kLogLimitBytes = 256 * 1024;

// "2026-12-06 18:20:01 send, 3 recipients, attempt 1 of 4: sent". Control
// characters in the outcome become blanks and the password, should a server
// echo it, becomes "****".
std::string attemptLogLine(const std::tm& when, std::string_view kind, std::size_t recipients,
                           int attempt, int attempts, std::string_view outcome,
                           std::string_view password);

// "2026-12-06 18:20:01 send: not sent: SMTPHOST: is empty", for a mail that
// was refused before any attempt.
std::string refusalLogLine(const std::tm& when, std::string_view kind, std::string_view reason);

// Appends the line; a file that would grow over `limit` first keeps only its
// newest lines, about half the limit, so the log never eats the disk. A log
// that is not a regular file (a FIFO, a link to a device) gets nothing.
void appendToLog(const std::filesystem::path& file, std::string_view line,
                 std::uintmax_t limit = kLogLimitBytes);

// Removes the "drovelin.log.<pid>" files that runs which no longer go on left
// behind (killed while they shortened the log).
void removeStaleTemporaries(const std::filesystem::path& file);

}  // namespace drovelin
