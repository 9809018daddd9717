// State of the records subsystem: the device log download, the PC event
// files and the Settings dialog.
#pragma once

#include "foundation/numeric.h"

namespace treld {

struct LogDownload {
    Int16 LogIndex = 0;
    Int16 LogWaiting = 0;
    // The status line has said that a PC log line could not be written; it
    // says so again only after a line has got through.
    bool pcLogFailureShown = false;
};

struct SettingsState {
    Int16 LoadedComPort = 0;
    // The mail program runs the e-mail test; its end shows the outcome.
    bool mailTestRunning = false;
};

}  // namespace treld
