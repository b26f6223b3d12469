#pragma once

#include "platform/ObservationToken.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/AppMenu.hpp"
#include "shell/StartupWarmUp.hpp"

#include <QSystemTrayIcon>

#include <future>
#include <iosfwd>
#include <memory>

namespace grellan {

// The application: starts the engine, owns the delegate and builds the menu-bar extra.
// Needs a QApplication.
class GrellanApp final {
public:
  // Starts the engine's container, creates the delegate (which starts the backend control), then
  // builds the menu-bar extra once the font configuration is loaded.
  GrellanApp(std::ostream& output, const std::shared_future<void>& fontConfigurationLoaded);
  ~GrellanApp();

  GrellanApp(const GrellanApp&) = delete;
  GrellanApp& operator=(const GrellanApp&) = delete;

  AppDelegate& appDelegate() { return *appDelegate_; }

  // The menu-bar extra, inserted while "menuBarEnabled" (default true) holds.
  bool menuBarEnabled() const { return menuBarEnabled_; }
  // Shown means asked to be shown: without a tray, it appears when a tray does.
  bool menuBarExtraShown() const { return menuBarExtra_ != nullptr && menuBarExtra_->isVisible(); }
  // The extra's menu while it is shown, else null.
  AppMenu* appMenu() const { return appMenu_.get(); }
  // The extra while it is shown, else null. A click on it opens the menu, as a right click does.
  QSystemTrayIcon* menuBarExtra() const { return menuBarExtra_.get(); }

private:
  void setMenuBarEnabled(bool enabled);

  // First, so that it starts before anything else and is joined last. Only the menu-bar extra
  // waits for it, for its icon; the windows need not, since the font database and painting on
  // images are thread-safe.
  StartupWarmUp warmUp_;
  bool menuBarEnabled_ = true;
  ObservationToken menuBarEnabledObservation_;
  std::unique_ptr<AppDelegate> appDelegate_;
  std::unique_ptr<AppMenu> appMenu_;
  std::unique_ptr<QSystemTrayIcon> menuBarExtra_;
};

} // namespace grellan
