// Every file the monitor and the calendar read or append to is a regular
// file: a FIFO would block the open or the reads for as long as nobody
// writes to it, and a device such as /dev/zero never ends. The open never
// waits (O_NONBLOCK), then fstat decides; anything else is refused.
#pragma once

#include <filesystem>
#include <string>

namespace treld {

class RegularFile {
  public:
    // Append opens for reading too (the last byte tells whether the last line
    // ended) and creates a missing file.
    enum class Mode { Read, Append };

    RegularFile(const std::filesystem::path& path, Mode mode);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }
    // Hands the descriptor to the caller, who closes it.
    int release();
    // Why it is not open: "not a regular file", or the system's reason;
    // empty when it is open or (for reading) when nothing has that name.
    const std::string& problem() const { return problem_; }

  private:
    int descriptor_ = -1;
    std::string problem_;
};

}  // namespace treld
