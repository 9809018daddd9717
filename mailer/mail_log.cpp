#include "mail_log.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "foundation/file_append.h"

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

void keepNewestLines(const std::filesystem::path& file, std::uintmax_t size, std::uintmax_t keep) {
    // One byte more: when it is a line end the first kept line is whole.
    std::string tail = treld::readFileTail(file, keep + 1);
    if (size > keep + 1) {
        const std::size_t lineEnd = tail.find('\n');
        tail.erase(0, lineEnd == std::string::npos ? tail.size() : lineEnd + 1);
    }
    std::filesystem::path temporary = file;
    temporary += "." + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << tail;
        if (!out)
            return;
    }
    std::error_code ignored;
    std::filesystem::rename(temporary, file, ignored);
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
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size + line.size() + 1 > limit)
        keepNewestLines(file, size, std::min(size, limit / 2));
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << line << '\n';
}

}  // namespace drovelin
