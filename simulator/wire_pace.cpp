#include "wire_pace.h"

#include <algorithm>

namespace sts {

void WirePace::put(std::string_view bytes, Micros at) {
    for (const char byte : bytes) {
        lineFree_ = std::max(lineFree_, at) + charMicros_;
        waiting_.push_back({lineFree_, byte});
    }
}

std::string WirePace::take(Micros now) {
    std::string through;
    while (!waiting_.empty() && waiting_.front().due <= now) {
        through += waiting_.front().byte;
        waiting_.pop_front();
    }
    return through;
}

}  // namespace sts
