// Log files that other programs may read or delete between two lines: each
// line opens, appends and closes the file; readers look at the end only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace treld {

// Appends `text` to `file`, creating the file and its folder when missing.
// False when the text could not be written whole.
bool appendToFile(const std::filesystem::path& file, std::string_view text);

// The last `bytes` bytes of `file`, all of it when shorter, whatever its size;
// empty when it cannot be read.
std::string readFileTail(const std::filesystem::path& file, std::uintmax_t bytes);

}  // namespace treld
