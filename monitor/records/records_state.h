// State of the records subsystem: the device log download and the Settings
// dialog.
#pragma once

#include "foundation/numeric.h"

namespace treld {

struct LogDownload {
    Int16 LogIndex = 0;
    Int16 LogWaiting = 0;
    Int16 LogRefresh = 0;  // the download starts again from record 0
};

struct SettingsState {
    Int16 LoadedComPort = 0;
    // The mail program runs the e-mail test; its end shows the outcome.
    bool mailTestRunning = false;
};

}  // namespace treld
