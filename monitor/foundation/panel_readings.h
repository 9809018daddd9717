// The numbers of the latest "SRV" and "OPL" replies, decoded once beside the
// panel texts, waiting for the trend history to take them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace treld {

inline constexpr std::size_t kReadingFields = 8;

// A field whose text is not all digits; the panel shows it, the history skips it.
inline constexpr std::int16_t kNotANumber = -1;

struct PanelReading {
    // What the trend history has not taken yet.
    enum class News { None, Values, TimedOut };
    // In reply order. "SRV": source 1 L1-L3, source 2 L1-L3 in volts, the two
    // frequencies in tenths of a hertz. "OPL": load L1-L3 in percent, current
    // L1-L3 in amperes, temperature in degrees C, SYNC angle in degrees.
    std::array<std::int16_t, kReadingFields> numbers{};
    News news = News::None;
};

struct PanelReadings {
    PanelReading source;
    PanelReading output;
};

}  // namespace treld
