#include "device/options_cycle.h"

namespace treld {

// The option reads land with the device subsystem.
void OPTIONS(Core&) {}

}  // namespace treld
