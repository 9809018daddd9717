#include "foundation/line_reader.h"

#include <algorithm>

#include "foundation/regular_file.h"

namespace treld {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

}  // namespace

LineReader::LineReader(const std::filesystem::path& path) : buffer_(kBufferSize) {
    RegularFile opened(path, RegularFile::Mode::Read);
    problem_ = opened.problem();
    if (opened.isOpen()) {
        file_ = ::fdopen(opened.descriptor(), "rb");
        if (file_ != nullptr)
            opened.release();
    }
}

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
