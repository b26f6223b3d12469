#pragma once

#include <thread>

namespace grellan {

// Fills the font database and loads the SVG renderer and icon engine on a helper thread while the
// main thread waits for the backend's first configuration save, so the first window and the
// menu-bar icon find them ready. Only thread-safe Qt is used there: font queries, painting on a
// QImage and an icon that is never drawn, so the main thread goes on without waiting for it.
// Needs a QGuiApplication; joins when destroyed.
class StartupWarmUp final {
public:
  StartupWarmUp();

private:
  std::jthread thread_;
};

} // namespace grellan
