#include "foundation/numeric.h"

#include <cmath>
#include <cstdio>

namespace treld {

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            sign = -1.0;
        ++i;
    }
    double value = 0.0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10.0 + (text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10.0) {
            value += (text[i] - '0') * scale;
        }
    }
    return sign * value;
}

std::optional<Int16> toInt16RoundedEven(double value) {
    const double rounded = std::nearbyint(value);  // default rounding mode: halves to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return std::nullopt;
    return static_cast<Int16>(rounded);
}

Int16 digitValue(char c) {
    return (c >= '0' && c <= '9') ? static_cast<Int16>(c - '0') : 0;
}

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string hoursMinutes(int hour, int minute) {
    return twoDigits(hour) + ":" + twoDigits(minute);
}

int fixedDigits(std::string_view text, std::size_t from, std::size_t width) {
    if (from > text.size() || width > text.size() - from)
        return -1;
    int value = 0;
    for (char ch : text.substr(from, width)) {
        if (ch < '0' || ch > '9')
            return -1;
        value = value * 10 + (ch - '0');
    }
    return value;
}

std::string threeDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
}

std::string_view positions(std::string_view text, std::size_t first, std::size_t count) {
    if (first == 0 || first > text.size())
        return {};
    return text.substr(first - 1, count);
}

}  // namespace treld
