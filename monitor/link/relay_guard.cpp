#include "link/relay_guard.h"

#include <algorithm>
#include <array>

namespace treld {
namespace {

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f;
}

bool isDigits(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// Where a login's letter stands: the first character that is neither blank
// nor a control character; npos when that is no login letter.
std::size_t loginLetter(std::string_view request) {
    const auto letter = std::ranges::find_if(
        request, [](char c) { return c != ' ' && c != '\t' && !isControl(c); });
    if (letter == request.end() || (*letter != 'U' && *letter != 'P'))
        return std::string_view::npos;
    return static_cast<std::size_t>(letter - request.begin());
}

}  // namespace

bool isReadRequest(std::string_view request) {
    static constexpr std::array<std::string_view, 7> kPolls = {"SRV", "OPL", "SST", "SAS",
                                                               "FIR", "CLK", "DAT"};
    if (std::ranges::find(kPolls, request) != kPolls.end())
        return true;
    if (request.size() == 5 && request.starts_with('M'))
        return isDigits(request.substr(1));
    return request.size() == 6 && request.starts_with("LOG") && isDigits(request.substr(3));
}

bool isLoginRequest(std::string_view request) {
    return loginLetter(request) != std::string_view::npos;
}

std::string auditText(std::string_view request) {
    std::string text(request);
    if (const std::size_t letter = loginLetter(text); letter != std::string::npos)
        std::fill(text.begin() + static_cast<std::ptrdiff_t>(letter) + 1, text.end(), '*');
    for (char& c : text) {
        if (isControl(c) || c == ',')
            c = '?';
    }
    return text;
}

}  // namespace treld
