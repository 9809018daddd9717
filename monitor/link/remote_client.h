// The remote client: in remote mode every command travels over its own TCP
// connection to the relay server of the monitor that has the device.
#pragma once

#include <string_view>

#include "foundation/core.h"

namespace treld {

void onRemoteConnected(Core& c);
void onRemoteData(Core& c, std::string_view chunk);
void onRemoteError(Core& c);

}  // namespace treld
