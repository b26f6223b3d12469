#include "shell/AppMenu.hpp"

#include "shell/AppDelegate.hpp"
#include "shell/SharedMenuItems.hpp"

namespace grellan {

AppMenu::AppMenu(QWidget* parent)
    : QMenu(parent),
      settings_(addSettingsItem(*this, {})),
      toggleIndicator_(addAction(tr("Hide indicator"), [this] { showHideIndicatorWindow(); })),
      about_(nullptr),
      quit_(nullptr) {
  addSeparator();
  about_ = addAboutItem(*this);
  quit_ = addQuitItem(*this, {});
}

QString AppMenu::toggleIndicatorTitle() const { return toggleIndicator_->text(); }

void AppMenu::showHideIndicatorWindow() {
  if (appDelegate() == nullptr) {
    return;
  }
  auto& windowManager = appDelegate()->windowManager();
  windowManager.showHideIndicatorWindow();
  toggleIndicator_->setText(windowManager.indicatorWindow() != nullptr ? tr("Hide indicator") : tr("Show indicator"));
}

} // namespace grellan
