#include "link/reply_format.h"

#include <array>

#include "foundation/numeric.h"
#include "link/status_texts.h"

namespace treld {
namespace {

// "#" at position 1 (counted from 1), a space at each separator, and at
// least `length` characters before the CR: a short status record fails at
// its first missing separator.
struct ReplyLayout {
    std::string_view command;
    std::array<std::size_t, 7> spaces;  // 0: unused
    std::size_t length;
};

constexpr ReplyLayout kLayouts[] = {
    {"SRV", {5, 9, 13, 17, 21, 25, 30}, 34},
    {"OPL", {5, 9, 13, 17, 21, 25, 29}, 32},
    {"SAS", {10, 19, 28, 37}, 0},
};

}  // namespace

bool passesFormatTest(std::string_view command, std::string_view reply) {
    if (reply.starts_with(kRelayCacheEmpty))
        return true;
    for (const ReplyLayout& layout : kLayouts) {
        if (layout.command != command)
            continue;
        if (positions(reply, 1, 1) != "#" ||
            reply.substr(0, reply.find('\r')).size() < layout.length)
            return false;
        for (std::size_t at : layout.spaces) {
            if (at != 0 && positions(reply, at, 1) != " ")
                return false;
        }
    }
    return true;
}

}  // namespace treld
