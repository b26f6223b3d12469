#pragma once

#include <functional>

namespace grellan {

// While it lives, a fatal error of Qt ends grellan with status 1 and a plain message instead of
// Qt's abort. It lives while the GUI application is made, when the only fatal error is a display
// platform that cannot start: a DISPLAY or WAYLAND_DISPLAY naming no display that answers, for which
// Qt's own last words suggest reinstalling. Qt's warnings before it, which name the display, still
// print. `beforeExit` runs first, for what would otherwise outlive the process (a scratch folder).
// One at a time.
class DisplayFailureExit final {
public:
  explicit DisplayFailureExit(std::function<void()> beforeExit);
  ~DisplayFailureExit();

  DisplayFailureExit(const DisplayFailureExit&) = delete;
  DisplayFailureExit& operator=(const DisplayFailureExit&) = delete;
};

} // namespace grellan
