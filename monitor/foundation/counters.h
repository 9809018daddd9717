// Running totals of what the monitor did, for the fleet's metrics. Nothing in
// the core decides anything by them.
#pragma once

#include <cstdint>

namespace treld {

struct Counters {
    std::uint64_t exchanges = 0;  // commands the cycles sent (GONDERME)
    std::uint64_t timeOuts = 0;   // exchanges whose reply did not come or was garbled
    std::uint64_t mailProgramsStarted = 0;
    std::uint64_t mailProgramsFailed = 0;  // ended with an exit code other than 0
};

}  // namespace treld
