// The numbers of the latest "SRV" and "OPL" replies, decoded once beside the
// panel texts: the trend history takes each reply as news, the fleet reads
// what stands now.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace treld {

inline constexpr std::size_t kReadingFields = 8;

// A field whose text is not all digits; the panel shows it, the history skips it.
inline constexpr std::int16_t kNotANumber = -1;

enum class ReplyGroup { Source, Output };  // "SRV", "OPL"
inline constexpr int kReplyGroups = 2;

struct PanelReading {
    // What the trend history has not taken yet.
    enum class News { None, Values, TimedOut };
    // In reply order. "SRV": source 1 L1-L3, source 2 L1-L3 in volts, the two
    // frequencies in tenths of a hertz. "OPL": load L1-L3 in percent, current
    // L1-L3 in amperes, temperature in degrees C, SYNC angle in degrees.
    std::array<std::int16_t, kReadingFields> numbers{};
    News news = News::None;
    // The numbers are the latest reply's: false before the first one and
    // after a time-out.
    bool current = false;
};

struct PanelReadings {
    PanelReading source;
    PanelReading output;

    const PanelReading& of(ReplyGroup group) const {
        return group == ReplyGroup::Source ? source : output;
    }
};

}  // namespace treld
