// Pictures drawn in code: the rotary switch and the alarm lamps.
#pragma once

#include <QPixmap>

namespace treld {

// A 150 x 150 rotary switch: green background with the handle to the bottom
// left when closed, red with the handle to the bottom right when open.
QPixmap switchPicture(bool closed);

// A 30 x 16 lamp, red or green, on a transparent surround.
QPixmap lampPicture(bool red);

}  // namespace treld
