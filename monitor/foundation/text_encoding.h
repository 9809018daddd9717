// Text is UTF-8 everywhere: typed in the windows, kept in memory, written to
// sts.cfg, passed to the mail program. Older files and devices may bring
// single bytes of the Windows code page; they are converted on the way in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace treld {

// Length of the valid UTF-8 sequence at `i`, 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);

// `text` when it is valid UTF-8 already, else its bytes read as Windows-1252
// (Latin-1 with printable characters at 0x80..0x9F). The result is valid UTF-8.
std::string toUtf8(std::string_view text);

// The number of characters of `text` (read as toUtf8 reads it).
std::size_t characterCount(std::string_view text);

// True when `text` holds a character that would break a line or a file: a C0
// control (line breaks and tabs among them), DEL or a C1 control (U+0080..U+009F).
bool holdsControlCharacter(std::string_view text);

}  // namespace treld
