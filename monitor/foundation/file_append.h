// Appending to the files that other programs may read or delete between two
// lines: each line opens, appends and closes the file.
#pragma once

#include <filesystem>
#include <string_view>

namespace treld {

// Appends `text` to `file`, creating the file and its folder when missing.
// False when the text could not be written whole.
bool appendToFile(const std::filesystem::path& file, std::string_view text);

}  // namespace treld
