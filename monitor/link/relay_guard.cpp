#include "link/relay_guard.h"

#include <algorithm>
#include <array>

namespace treld {

bool isReadRequest(std::string_view request) {
    static constexpr std::array<std::string_view, 7> kPolls = {"SRV", "OPL", "SST", "SAS",
                                                               "FIR", "CLK", "DAT"};
    return std::ranges::find(kPolls, request) != kPolls.end() || request.starts_with('M') ||
           request.starts_with("LOG");
}

bool isLoginRequest(std::string_view request) {
    return request.starts_with('U') || request.starts_with('P');
}

std::string auditText(std::string_view request) {
    std::string text(request);
    if (isLoginRequest(text))
        std::fill(text.begin() + 1, text.end(), '*');
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == ',')
            c = '?';
    }
    return text;
}

}  // namespace treld
