// treld without a screen (a service, a shell over SSH, a display that has
// gone, or --headless) hands over to the headless station beside it:
// treld-station takes the process over, with the same arguments, before
// anything is written, and no widget library stays mapped.
#pragma once

namespace treld {

// Before QApplication exists: hands over when `asked` or when no display is
// named. Otherwise, unless the user chose a platform with QT_QPA_PLATFORM,
// the named display is tried first and "offscreen" stands behind it.
void handOverWhenHeadless(char** argv, bool asked);

// Once QApplication exists: hands over when the named display failed to open.
void handOverWhenDisplayFailed(char** argv);

}  // namespace treld
