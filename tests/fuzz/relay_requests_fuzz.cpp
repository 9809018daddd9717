// Relay requests: every piece is one event on the relay server, its first
// byte says which: a connection, data on a slot, a close, a completed send,
// a poll tick or a device reply. Slots are those the monitor accepted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_monitor.h"

namespace {

int slotOf(treld::fuzz::FuzzMonitor& rig, std::string_view piece) {
    const auto& accepted = rig.platform.acceptedSlots;
    if (accepted.empty())
        return 1;
    const std::size_t pick = piece.size() > 1 ? static_cast<unsigned char>(piece[1]) : 0;
    return accepted[pick % accepted.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    treld::fuzz::FuzzMonitor rig;
    for (std::string_view piece :
         treld::fuzz::splitAtMarker(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (piece.empty()) {
            rig.monitor.onRelayConnectionRequest();
            continue;
        }
        switch (piece[0] % 6) {
            case 0:
                rig.monitor.onRelayConnectionRequest();
                break;
            case 1:
                rig.monitor.onRelayData(slotOf(rig, piece), piece.substr(1));
                break;
            case 2:
                rig.monitor.onRelayClosed(slotOf(rig, piece));
                break;
            case 3:
                rig.monitor.onRelaySendComplete(slotOf(rig, piece));
                break;
            case 4:
                rig.tick();
                break;
            default:
                rig.monitor.onSerialData(piece.substr(1));
                break;
        }
        rig.checkBounds();
    }
    return 0;
}
