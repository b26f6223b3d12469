#include "services/WidestScreen.hpp"

#include "platform/Screens.hpp"

namespace grellan {

QRect widestScreen() {
  QRect widest;
  bool found = false;
  for (const QRect& frame : Screens::shared().frames()) {
    if (!found || frame.width() > widest.width()) {
      widest = frame;
      found = true;
    }
  }
  return widest;
}

} // namespace grellan
