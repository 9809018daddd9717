#include "support/fake_platform.h"

#include <ctime>
#include <fstream>

namespace treld::testing {

bool FakePlatform::replaceFile(const std::filesystem::path& file, std::string_view content) {
    if (fileWritesFail)
        return false;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    return true;
}

LocalDateTime FakePlatform::now() {
    const LocalDateTime& base = wallClockAtStart;
    std::tm t{.tm_sec = base.second,
              .tm_min = base.minute,
              .tm_hour = base.hour,
              .tm_mday = base.day,
              .tm_mon = base.month - 1,
              .tm_year = base.year - 1900};
    const std::time_t at = timegm(&t) + nowMs / 1000 + clockOffsetSeconds;
    gmtime_r(&at, &t);
    LocalDateTime result{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
    char text[16];
    std::strftime(text, sizeof text, "%d.%m.%Y", &t);
    result.shortDate = text;
    std::strftime(text, sizeof text, "%H:%M:%S", &t);
    result.longTime = text;
    result.epochSeconds = at - utcOffsetSeconds;
    result.millisecond = static_cast<int>(nowMs % 1000);
    result.utcOffsetSeconds = utcOffsetSeconds;
    return result;
}

}  // namespace treld::testing
