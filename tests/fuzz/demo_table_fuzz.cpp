// DEMOSET.CFG: the table is read from a program directory, then the demo
// cycle answers every poll command from it for a while.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"
#include "link/demo_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    treld::fuzz::writeScratchFile("DEMOSET.CFG",
                                  std::string_view(reinterpret_cast<const char*>(data), size));
    treld::fuzz::FuzzMonitor rig;
    treld::LoadDemoTable(rig.core());
    rig.core().s.DemoMode = 1;
    rig.core().s.PollStep = 1;
    for (int tick = 0; tick < 40; ++tick) {
        rig.tick();
        rig.checkBounds();
    }
    return 0;
}
