#include "shell/WindowManager.hpp"

#include "shell/AppDelegate.hpp"
#include "tutorial/Tutorial.hpp"

namespace grellan {
namespace {

void bringToFront(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

} // namespace

WindowManager::WindowManager(GrellanKit_& kit, Hobbard& hobbard) : kit_(kit), hobbard_(hobbard) {}

WindowManager::~WindowManager() {
  indicatorWindow_.reset();
  delete tutorialWindow_;
}

void WindowManager::showTutorialWindow() {
  if (!tutorialWindow_) {
    tutorialWindow_ = new Tutorial(kit_, hobbard_);
    tutorialWindow_->setWindowTitle("grellan setup");
  }
  bringToFront(*tutorialWindow_);
}

void WindowManager::closeTutorialWindow() {
  if (tutorialWindow_) {
    tutorialWindow_->close();
  }
}

void WindowManager::showActiveModificationsView() { pendingRequests_.append("showActiveModificationsView"); }

void WindowManager::showAboutWindow() { pendingRequests_.append("showAboutWindow"); }

void WindowManager::showIndicatorWindow() {
  if (!indicatorWindow_) {
    indicatorWindow_ = std::make_unique<IndicatorWindow>();
  }
  // Shown in front without taking the focus or activating the application.
  indicatorWindow_->show();
  indicatorWindow_->raise();
}

void WindowManager::showHideIndicatorWindow() {
  if (indicatorWindow_) {
    indicatorWindow_->close();
    indicatorWindow_.reset();
  } else {
    showIndicatorWindow();
  }
}

void WindowManager::showSettings() {
  // Settings open from the About window, which tells how to reach them.
  if (appDelegate() != nullptr) {
    appDelegate()->windowManager().showAboutWindow();
  }
}

} // namespace grellan
