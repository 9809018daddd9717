#include "foundation/relay_access.h"

#include <algorithm>
#include <charconv>

#include "foundation/station_config.h"

namespace treld {
namespace {

// A decimal number of at most `limit`, the whole text and nothing else.
std::optional<unsigned> smallNumber(std::string_view text, unsigned limit) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ipv4(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos)
            return std::nullopt;
        const auto octet = smallNumber(text.substr(0, dot), 255);
        if (!octet)
            return std::nullopt;
        address = address << 8 | *octet;
        text.remove_prefix(std::min(dot + 1, text.size()));
    }
    return address;
}

bool anyContains(const std::vector<AddressRange>& ranges, std::string_view address) {
    return std::ranges::any_of(ranges, [&](const AddressRange& r) { return r.contains(address); });
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An address to listen on: IPv4, or IPv6 written with colons.
bool isListenAddress(std::string_view text) {
    if (ipv4(text))
        return true;
    return text.find(':') != std::string_view::npos &&
           text.find_first_not_of("0123456789abcdefABCDEF:.") == std::string_view::npos;
}

// The letters of a key in capitals: the rule a mistyped key seems meant for.
std::string lettersInCapitals(std::string_view key) {
    std::string letters;
    for (const char c : key) {
        const char capital = static_cast<char>(c & ~0x20);
        if (capital >= 'A' && capital <= 'Z')
            letters += capital;
    }
    return letters;
}

RelayAccess unreadableAccess() {
    RelayAccess access;
    access.unreadable = true;
    access.listenAllowed = false;
    access.readersListed = true;
    return access;
}

RelayAccess readRelayAccessLines(LineReader& lines) {
    RelayAccess access;
    int line = 0;
    auto notUnderstood = [&](std::string_view key) {
        if (access.badLineCount++ == 0)
            access.firstBadLine = line;
        const std::string rule = lettersInCapitals(key);
        if (rule == "LISTEN")
            access.listenAllowed = false;
        else if (rule != "COMMAND")
            access.readersListed = true;
    };
    forEachConfigLine(lines, [&](std::string_view key, std::string_view value) {
        ++line;
        if (key.empty() && trimmed(value).empty())
            return true;
        std::vector<AddressRange>* list = key == "COMMAND:" ? &access.commanders
                                          : key == "READ:"  ? &access.readers
                                                            : nullptr;
        access.readersListed |= key == "READ:";
        if (key == "LISTEN:" && isListenAddress(trimmed(value))) {
            access.listenAddress = std::string(trimmed(value));
        } else if (list == nullptr) {
            notUnderstood(key.empty() ? value : key);
        } else if (const auto range = AddressRange::parse(value)) {
            list->push_back(*range);
        } else {
            notUnderstood(key);
        }
        return true;
    });
    if (lines.failed())
        access.unreadable = true;
    return access;
}

}  // namespace

std::optional<AddressRange> AddressRange::parse(std::string_view text) {
    text = trimmed(text);
    AddressRange range;
    const std::size_t slash = text.find('/');
    if (const auto address = ipv4(text.substr(0, slash))) {
        const auto bits = slash == std::string_view::npos ? std::optional<unsigned>(32)
                                                          : smallNumber(text.substr(slash + 1), 32);
        if (!bits)
            return std::nullopt;
        range.mask_ = *bits == 0 ? 0 : ~std::uint32_t{0} << (32 - *bits);
        range.network_ = *address & range.mask_;
        return range;
    }
    if (slash != std::string_view::npos || text.find(':') == std::string_view::npos)
        return std::nullopt;
    range.exact_ = std::string(text);
    return range;
}

bool AddressRange::contains(std::string_view address) const {
    if (!exact_.empty())
        return address == exact_;
    const auto value = ipv4(address);
    return value && (*value & mask_) == network_;
}

bool isLoopback(std::string_view address) {
    return address == "127.0.0.1" || address == "::1";
}

bool RelayAccess::mayRead(std::string_view peer) const {
    return !readersListed || isLoopback(peer) || anyContains(readers, peer) ||
           anyContains(commanders, peer);
}

bool RelayAccess::mayCommand(std::string_view peer) const {
    return isLoopback(peer) || anyContains(commanders, peer);
}

std::string RelayAccess::problem() const {
    if (unreadable)
        return "relay.cfg cannot be read";
    if (badLineCount == 0)
        return "";
    std::string text = "relay.cfg line " + std::to_string(firstBadLine) + " not understood";
    if (badLineCount > 1)
        text += " (" + std::to_string(badLineCount) + " lines)";
    return text;
}

RelayAccess readRelayAccess(const std::filesystem::path& file) {
    LineReader lines(file);
    std::error_code ignored;
    if (!lines.isOpen() && std::filesystem::exists(file, ignored))
        return unreadableAccess();
    RelayAccess access = readRelayAccessLines(lines);
    return access.unreadable ? unreadableAccess() : access;
}

}  // namespace treld
