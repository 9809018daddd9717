#include "mail_log.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "foundation/file_append.h"
#include "foundation/regular_file.h"

namespace drovelin {
namespace {

std::string stamped(const std::tm& when, std::string_view text) {
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string line = stamp;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
    return line;
}

// The log's size in bytes, when it is a regular file (RegularFile) open for
// appending.
std::optional<std::uintmax_t> sizeOf(const treld::RegularFile& log) {
    struct stat status {};
    if (!log.isOpen() || ::fstat(log.descriptor(), &status) != 0)
        return std::nullopt;
    return static_cast<std::uintmax_t>(status.st_size);
}

std::filesystem::path temporaryFor(const std::filesystem::path& file, pid_t pid) {
    std::filesystem::path temporary = file;
    temporary += "." + std::to_string(pid);
    return temporary;
}

// Replaces the log by its newest lines through a temporary file, which is
// removed again when it cannot be written whole (a full disk).
void keepNewestLines(const std::filesystem::path& file, std::uintmax_t size, std::uintmax_t keep) {
    // One byte more: when it is a line end the first kept line is whole.
    std::string tail = treld::readFileTail(file, keep + 1);
    if (size > keep + 1) {
        const std::size_t lineEnd = tail.find('\n');
        tail.erase(0, lineEnd == std::string::npos ? tail.size() : lineEnd + 1);
    }
    const std::filesystem::path temporary = temporaryFor(file, getpid());
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << tail;
    out.close();
    std::error_code error;
    if (out)
        std::filesystem::rename(temporary, file, error);
    if (!out || error)
        std::filesystem::remove(temporary, error);
}

}  // namespace

std::string attemptLogLine(const std::tm& when, std::string_view kind, std::size_t recipients,
                           int attempt, int attempts, std::string_view outcome,
                           std::string_view password) {
    std::string text(outcome);
    if (!password.empty()) {
        for (std::size_t at = text.find(password); at != std::string::npos;
             at = text.find(password, at + 4))
            text.replace(at, password.size(), "****");
    }
    return stamped(when, std::string(kind) + ", " + std::to_string(recipients) +
                             (recipients == 1 ? " recipient" : " recipients") + ", attempt " +
                             std::to_string(attempt) + " of " + std::to_string(attempts) + ": " +
                             text);
}

std::string refusalLogLine(const std::tm& when, std::string_view kind, std::string_view reason) {
    return stamped(when, std::string(kind) + ": not sent: " + std::string(reason));
}

void appendToLog(const std::filesystem::path& file, std::string_view line, std::uintmax_t limit) {
    using treld::RegularFile;
    auto log = std::make_unique<RegularFile>(file, RegularFile::Mode::Append);
    const std::optional<std::uintmax_t> size = sizeOf(*log);
    if (!size)
        return;
    if (*size + line.size() + 1 > limit) {
        log.reset();
        keepNewestLines(file, *size, std::min(*size, limit / 2));
        log = std::make_unique<RegularFile>(file, RegularFile::Mode::Append);
        if (!log->isOpen())
            return;
    }
    // One write with O_APPEND: the lines of two copies running at once never
    // mix. A full disk loses the line; standard error has it too.
    const std::string text = std::string(line) + '\n';
    [[maybe_unused]] const ssize_t written = ::write(log->descriptor(), text.data(), text.size());
}

void removeStaleTemporaries(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + ".";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(file.parent_path(), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix))
            continue;
        pid_t pid = 0;
        const char* const last = name.data() + name.size();
        const auto [stop, failed] = std::from_chars(name.data() + prefix.size(), last, pid);
        // A run that goes on still needs its temporary file.
        if (failed != std::errc{} || stop != last || pid <= 0 ||
            temporaryFor(file, pid) != entry->path() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove(entry->path(), ignored);
    }
}

}  // namespace drovelin
