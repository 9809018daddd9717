#include "device/control_cycle.h"

namespace treld {

// The operator commands land with the device subsystem.
void KONTROL(Core&) {}

}  // namespace treld
