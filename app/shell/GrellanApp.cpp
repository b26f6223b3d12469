#include "shell/GrellanApp.hpp"

#include "platform/UserDefaults.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/DefaultsKeys.hpp"

#include <utility>

namespace grellan {

GrellanApp::GrellanApp(std::ostream& output, std::shared_future<void> fontConfigurationLoaded)
    : warmUp_(std::move(fontConfigurationLoaded)) {
  const auto storedMenuBarEnabled = [] {
    return UserDefaults::standard().boolValue(DefaultsKeys::menuBarEnabled).value_or(true);
  };
  menuBarEnabledObservation_ = UserDefaults::standard().observe(
      DefaultsKeys::menuBarEnabled, false,
      [this, storedMenuBarEnabled](const std::optional<QVariant>&) { setMenuBarEnabled(storedMenuBarEnabled()); });
  GRKKoinKt::doInitKoin();
  appDelegate_ = std::make_unique<AppDelegate>(output);
  // The scenes are built once the delegate exists.
  setMenuBarEnabled(storedMenuBarEnabled());
}

GrellanApp::~GrellanApp() {
  menuBarEnabledObservation_.cancel();
  menuBarExtra_.reset();
  appMenu_.reset();
  appDelegate_.reset();
}

void GrellanApp::setMenuBarEnabled(bool enabled) {
  menuBarEnabled_ = enabled;
  if (!enabled) {
    menuBarExtra_.reset();
    appMenu_.reset();
  } else if (!menuBarExtra_) {
    appMenu_ = std::make_unique<AppMenu>();
    menuBarExtra_ = std::make_unique<QSystemTrayIcon>(warmUp_.menuBarIcon());
    menuBarExtra_->setToolTip("grellan");
    menuBarExtra_->setContextMenu(appMenu_.get());
    // Shown even while no tray exists: Qt places it once one appears (a panel started after grellan).
    menuBarExtra_->show();
  }
}

} // namespace grellan
