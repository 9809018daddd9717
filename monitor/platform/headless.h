// A monitor started without a display (a service, a shell over SSH) runs on
// Qt's offscreen platform instead of failing to open windows.
#pragma once

namespace treld {

// Call before QApplication exists. Chooses "offscreen" and says so on
// stderr when neither DISPLAY nor WAYLAND_DISPLAY is set and the user has not
// chosen a platform with QT_QPA_PLATFORM.
void chooseHeadlessWithoutDisplay();

}  // namespace treld
