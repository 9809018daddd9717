// Lines of a text file, or of a text in memory, read through a fixed
// buffer: a file of any size costs constant memory. Shared by every reader
// of a line-based file, the calendar's too.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace treld {

// Only a regular file opens (RegularFile); anything else is said by
// problem(). Lines end with CR LF or LF; the line end is not returned. A line longer
// than kMaxLineLength keeps its first kMaxLineLength characters, the rest of
// it is skipped.
class LineReader {
  public:
    static constexpr std::size_t kMaxLineLength = 4096;

    explicit LineReader(const std::filesystem::path& path);
    explicit LineReader(std::string_view text);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file_ != nullptr || buffer_.empty(); }
    // Why the file did not open; empty when it did or is missing.
    const std::string& problem() const { return problem_; }
    // True once a read from the file has failed (not at its normal end).
    bool failed() const { return failed_; }
    // Fills `line` with the next line; false at the end or on a read failure.
    bool next(std::string& line);

  private:
    bool refill();

    std::FILE* file_ = nullptr;
    std::string_view text_;  // the text read from, or the file's buffered part
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    bool failed_ = false;
    std::string problem_;
};

}  // namespace treld
