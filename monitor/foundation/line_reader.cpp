#include "foundation/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace treld {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// A regular file only: a FIFO would block the open or the reads for as long
// as nobody writes to it, and a device such as /dev/zero never ends.
// O_NONBLOCK keeps the open itself from waiting for a FIFO's writer.
std::FILE* openRegularFile(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status {};
    std::FILE* file = nullptr;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
        file = ::fdopen(descriptor, "rb");
    if (file == nullptr)
        ::close(descriptor);
    return file;
}

}  // namespace

LineReader::LineReader(const std::filesystem::path& path)
    : file_(openRegularFile(path)), buffer_(kBufferSize) {}

LineReader::LineReader(std::string_view text) : text_(text) {}

LineReader::~LineReader() {
    if (file_ != nullptr)
        std::fclose(file_);
}

bool LineReader::refill() {
    if (file_ == nullptr || failed_)
        return false;
    begin_ = 0;
    text_ = std::string_view(buffer_.data(), std::fread(buffer_.data(), 1, buffer_.size(), file_));
    if (text_.empty() && std::ferror(file_) != 0)
        failed_ = true;
    return !text_.empty();
}

bool LineReader::next(std::string& line) {
    line.clear();
    bool readAnything = false;
    for (;;) {
        if (begin_ == text_.size() && !refill())
            break;
        readAnything = true;
        const std::string_view rest = text_.substr(begin_);
        const std::size_t newline = rest.find('\n');
        const std::size_t length = std::min(newline, rest.size());
        const std::size_t room = kMaxLineLength - std::min(line.size(), kMaxLineLength);
        line.append(rest.substr(0, std::min(length, room)));
        begin_ += length;
        if (newline != std::string_view::npos) {
            ++begin_;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return readAnything && !failed_;
}

}  // namespace treld
