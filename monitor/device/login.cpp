#include "device/login.h"

namespace treld {

// The login lands with the device subsystem.
void Timer2_Timer(Core&) {}
void LoginTimer_Timer(Core&) {}

}  // namespace treld
