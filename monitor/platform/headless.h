// A monitor started without a display (a service, a shell over SSH, a
// display that has gone) runs on Qt's offscreen platform instead of failing
// to open windows, and says so.
#pragma once

namespace treld {

// Call before QApplication exists. Unless the user chose a platform with
// QT_QPA_PLATFORM, the display found in DISPLAY or WAYLAND_DISPLAY is tried
// first and "offscreen" stands behind it.
void allowHeadlessFallback();

// Call once QApplication exists: says on stderr when the fallback was taken.
void sayWhenHeadless();

}  // namespace treld
