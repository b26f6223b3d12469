#pragma once

#include <QRect>

namespace grellan {

// The widest screen, the first listed among equally wide ones; without any screen an empty frame at
// the origin, so placing a window still gives numbers and nothing divides by it.
QRect widestScreen();

} // namespace grellan
