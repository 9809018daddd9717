// LOGS: downloads the device's event log on the "Log event" tab.
#pragma once

#include "link/core.h"

namespace treld {

void LOGS(Core& c);

// Entering the tab: an empty list and a download from record 0.
void restartStsLogDownload(Core& c);

}  // namespace treld
