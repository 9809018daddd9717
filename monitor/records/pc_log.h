// The PC event files: SERLOGS/yyyy-mm.TXT, one line appended per event.
#pragma once

#include "link/core.h"

namespace treld {

// Appends the event in PcLogEventCode / PcLogEventText.
void WritePcLog(Core& c);

}  // namespace treld
