// treld --test-notify: a test event to every target of the station's
// notify.cfg, without windows and without polling.
#pragma once

#include <filesystem>

namespace treld {

// Prints a line per target with what it answered; returns the exit code: 0
// when every target delivered, 1 otherwise. Call once the application exists.
int runNotifyTest(const std::filesystem::path& programDir, const std::filesystem::path& stationDir);

}  // namespace treld
