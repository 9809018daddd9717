#include "device/options_cycle.h"

namespace treld {

// The option reads land with the device subsystem.
void OPTIONS(Core&) {}

}  // namespace treld

namespace treld {

void ekranla(Core&) {}

}  // namespace treld
