// Replacing a file so that a crash or a full disk leaves either the old
// content or the new one, never a truncated file.
#pragma once

#include <filesystem>
#include <string_view>

namespace treld {

// Writes `content` to a temporary file beside `file` (readable and writable
// by its owner only), flushes it to the disk and renames it over `file`.
// On failure the temporary file is removed, `file` is untouched, and false
// is returned.
bool replaceFileAtomically(const std::filesystem::path& file, std::string_view content);

// Removes the temporary file that a crash during replaceFileAtomically left
// beside `file` (it may hold what was being written, a password too).
void removeLeftoverTemporary(const std::filesystem::path& file);

}  // namespace treld
