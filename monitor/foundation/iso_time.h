// Local times in ISO 8601 with their offset, as the trend files and the
// fleet's events write them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/platform.h"

namespace treld {

// "2026-12-05T14:05:10+01:00" for `at` (seconds since 1970 UTC) seen from a
// clock `utcOffsetSeconds` ahead of UTC.
std::string isoLocalTime(std::int64_t at, int utcOffsetSeconds);
// The instant of such a text; nothing when it is not one.
std::optional<std::int64_t> parseIsoLocalTime(std::string_view text);

// A wall-clock date and time as seconds counted as if the clock were UTC, so
// two of them subtract to the seconds between; nothing for no such date.
std::optional<std::int64_t> wallSeconds(int year, int month, int day, int hour, int minute,
                                        int second);
// The date and time of such seconds on a clock `utcOffsetSeconds` ahead of UTC.
LocalDateTime dateTimeAt(std::int64_t wall, int utcOffsetSeconds);

}  // namespace treld
