#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace kirnal {

// Reads a text file line by line through a fixed buffer, so that a file of any size is read in
// constant memory. Only a regular file opens: anything else (a FIFO, a device) counts as missing.
// Lines end with CR LF or LF; the line end is not returned. A line longer than kMaxLineLength keeps
// its first kMaxLineLength characters, the rest of it is skipped.
class LineReader {
  public:
    static constexpr std::size_t kMaxLineLength = 4096;

    explicit LineReader(const std::filesystem::path& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // True once a read from the file has failed (not at its normal end).
    bool failed() const { return failed_; }
    // Fills `line` with the next line; false at the end of the file or on a read failure.
    bool next(std::string& line);

  private:
    bool refill();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool failed_ = false;
};

}  // namespace kirnal
