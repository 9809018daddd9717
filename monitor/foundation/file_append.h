// Log files that other programs may read or delete between two lines: each
// line opens, appends and closes the file; readers look at the end only.
// Regular files only (RegularFile).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace treld {

// Appends the lines of `text` to `file`, creating the file and its folder
// when missing. A last line left without its end (a write cut short) gets
// CR LF first, so the new text never joins it. Text cut short by a full disk
// or a size limit is taken back: the file is left as it was. Returns why the
// text could not be written whole; empty when it was.
std::string appendToFile(const std::filesystem::path& file, std::string_view text);

// The last `bytes` bytes of `file`, all of it when shorter, whatever its size;
// empty when it cannot be read.
std::string readFileTail(const std::filesystem::path& file, std::uintmax_t bytes);

// At most the first `limit` bytes of `file`; nothing, with `problem` saying
// why, when it cannot be read (`problem` stays empty for a missing file).
std::optional<std::string> readFileStart(const std::filesystem::path& file, std::size_t limit,
                                         std::string& problem);

}  // namespace treld
