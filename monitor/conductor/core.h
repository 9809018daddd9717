// The composition root: every layer's state in one place, built once by the
// Monitor and handed to each layer as that layer's core.
#pragma once

#include "device/device_core.h"

namespace treld {

struct Core : DeviceCore {
    using DeviceCore::DeviceCore;
};

}  // namespace treld
