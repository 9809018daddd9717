#include "line_reader.h"

#include <algorithm>
#include <cstring>

namespace kirnal {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

LineReader::LineReader(const std::filesystem::path& path)
    : file_(std::fopen(path.c_str(), "rb")), buffer_(kBufferSize) {}

LineReader::~LineReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool LineReader::refill() {
    if (file_ == nullptr || failed_) {
        return false;
    }
    begin_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ == 0 && std::ferror(file_) != 0) {
        failed_ = true;
    }
    return end_ > 0;
}

bool LineReader::next(std::string& line) {
    line.clear();
    bool readAnything = false;
    for (;;) {
        if (begin_ == end_ && !refill()) {
            break;
        }
        readAnything = true;
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t length = newline != nullptr ? newline - start : available;
        const std::size_t room = kMaxLineLength - std::min(line.size(), kMaxLineLength);
        line.append(start, std::min(length, room));
        begin_ += length;
        if (newline != nullptr) {
            ++begin_;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return readAnything && !failed_;
}

}  // namespace kirnal
