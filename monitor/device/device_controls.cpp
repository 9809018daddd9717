#include "device/device_controls.h"

namespace treld {

void declareDeviceElements(DisplayModel&) {}

bool onDeviceEvent(Core&, const OperatorEvent&) {
    return false;
}

}  // namespace treld
