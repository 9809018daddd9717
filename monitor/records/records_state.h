// State of the device log download and the Settings dialog.
#pragma once

#include "link/numeric.h"

namespace treld {

struct LogDownload {
    Int16 LogIndex = 0;
    Int16 LogWaiting = 0;
};

struct SettingsState {
    Int16 LoadedComPort = 0;
};

}  // namespace treld
