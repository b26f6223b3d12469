#include "shell/GrellanApp.hpp"

#include "platform/UserDefaults.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/DefaultsKeys.hpp"

#include <QCursor>

namespace grellan {

GrellanApp::GrellanApp(std::ostream& output, const std::shared_future<void>& fontConfigurationLoaded)
    : warmUp_(fontConfigurationLoaded) {
  const auto storedMenuBarEnabled = [] {
    return UserDefaults::standard().boolValue(DefaultsKeys::menuBarEnabled).value_or(true);
  };
  menuBarEnabledObservation_ = UserDefaults::standard().observe(
      DefaultsKeys::menuBarEnabled, false,
      [this, storedMenuBarEnabled](const std::optional<QVariant>&) { setMenuBarEnabled(storedMenuBarEnabled()); });
  GRKKoinKt::doInitKoin();
  appDelegate_ = std::make_unique<AppDelegate>(output);
  // Text, from here on, would have Qt read the font configuration beside a load still running.
  fontConfigurationLoaded.wait();
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
    // Qt opens the menu only on a right click; a plain click is the usual way to a tray menu.
    QObject::connect(menuBarExtra_.get(), &QSystemTrayIcon::activated, appMenu_.get(),
                     [menu = appMenu_.get()](QSystemTrayIcon::ActivationReason reason) {
                       if (reason == QSystemTrayIcon::Trigger) {
                         menu->popup(QCursor::pos());
                       }
                     });
    // Shown even while no tray exists: Qt places it once one appears (a panel started after grellan).
    menuBarExtra_->show();
  }
}

} // namespace grellan
