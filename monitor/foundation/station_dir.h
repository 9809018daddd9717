// Where a station keeps its files (sts.cfg, SERLOGS/, TRENDS/, the mail log
// and the optional files): the directory in $TRELD_DIR, else the program's
// own. The monitor sets the variable for the programs it starts, so the mail
// program and the calendar work on the monitor's station.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace treld {

inline constexpr const char* kStationDirVariable = "TRELD_DIR";

inline std::filesystem::path stationDirectory(const std::filesystem::path& programDir) {
    const char* named = std::getenv(kStationDirVariable);
    return named != nullptr && *named != '\0' ? std::filesystem::path(named) : programDir;
}

}  // namespace treld
