#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "month_grid.h"

namespace kirnal {

// The monitor's event file of one month: SERLOGS/yyyy-mm.TXT under the program directory.
std::filesystem::path monthFilePath(const std::filesystem::path& stationDir, YearMonth month);

// The text item of an event line read as a number and a text in list-input manner: the number
// (the event code) ends at a blank or comma; the text skips leading blanks and ends at a comma or
// the line end; a text in double quotes is taken without them.
std::string_view eventTextOf(std::string_view line);

// The day an event text belongs to: the number at the start of its first two characters
// (the monitor writes the date first, day first), 0 when there is none.
int dayOfEventText(std::string_view text);

// Calls `onText` with the text of every line of the file whose text is not empty, in file order,
// reading the file as a stream. False when the file cannot be opened (for example it is missing).
bool forEachEventText(const std::filesystem::path& file,
                      const std::function<void(std::string_view text)>& onText);

}  // namespace kirnal
