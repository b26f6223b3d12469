#pragma once

#include <QIcon>

#include <future>
#include <thread>

namespace grellan {

// Makes the menu-bar icon, then, once the font configuration is loaded, fills the font database and
// loads the SVG renderer on a helper thread while the main thread waits for the backend's first
// configuration save, so the menu-bar extra and the first window find them ready. Only thread-safe
// Qt is used there: an icon that is not drawn there, font queries and painting on a QImage. Needs a
// QGuiApplication; joins when destroyed.
class StartupWarmUp final {
public:
  explicit StartupWarmUp(std::shared_future<void> fontConfigurationLoaded);

  // The icon of the menu-bar extra; waits for the helper thread to have made it.
  QIcon menuBarIcon() const { return menuBarIcon_.get(); }

private:
  std::promise<QIcon> menuBarIconPromise_;
  std::shared_future<QIcon> menuBarIcon_ = menuBarIconPromise_.get_future().share();
  // Last, so that it is joined before the other members go.
  std::jthread thread_;
};

} // namespace grellan
