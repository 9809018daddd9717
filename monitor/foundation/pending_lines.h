// Lines appended to log files that cannot be written for now (a full disk, a
// read-only folder, a file that went away): kept in memory, in order, each
// for its own file, and written before the next line as soon as writing works
// again. The PC event files and the trend files each hold one.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace treld {

class PendingLines {
  public:
    // `header` goes first into a file that is missing or empty; `bound` lines
    // are kept at most, the oldest dropped (and counted) beyond it.
    PendingLines(std::size_t bound, std::string header = {})
        : bound_(bound), header_(std::move(header)) {}

    // Writes the kept lines, then `line` to `file`; keeps what could not be
    // written. Returns the first problem; empty when everything got through.
    std::string append(const std::filesystem::path& file, std::string line);
    // Writes the kept lines, stopping at the first that still fails (the
    // periodic retry). Returns its problem; empty when none are left.
    std::string retry();

    std::size_t kept() const { return lines_.size(); }
    // The file of the oldest kept line: the one that could not be written.
    const std::filesystem::path& stuckFile() const { return lines_.front().file; }
    // "1 line kept to write later" (`noun` "line"), with ", 5 dropped" once
    // the bound was hit.
    std::string keptText(std::string_view noun) const;
    // The kept lines of `file`, in order, as the file will hold them.
    std::string keptFor(const std::filesystem::path& file) const;

  private:
    struct Line {
        std::filesystem::path file;
        std::string text;
    };
    const std::size_t bound_;
    const std::string header_;
    std::deque<Line> lines_;
    std::size_t dropped_ = 0;  // since the last time nothing was kept
};

}  // namespace treld
