#include "shell/AppDelegate.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/WidestScreen.hpp"

namespace grellan {
namespace {

AppDelegate*& globalDelegate() {
  static AppDelegate* delegate = nullptr;
  return delegate;
}

} // namespace

AppDelegate* appDelegate() { return globalDelegate(); }

AppDelegate::AppDelegate(std::ostream& output)
    : kit_(std::make_unique<GrellanKit_>()),
      hobbard_(std::make_unique<Hobbard>(output)),
      updater_(std::make_unique<Updater>()),
      windowManager_(std::make_unique<WindowManager>(*kit_, *hobbard_)) {
  globalDelegate() = this;
}

AppDelegate::~AppDelegate() {
  // Windows go before the objects they show.
  windowManager_.reset();
  if (globalDelegate() == this) {
    globalDelegate() = nullptr;
  }
}

bool AppDelegate::tutorialPassed() const {
  return UserDefaults::standard().boolValue(DefaultsKeys::tutorialPassed).value_or(false);
}

void AppDelegate::applicationDidFinishLaunching() {
  if (tutorialPassed()) {
    hobbard_->startServerAndMonitor();
    windowManager_->showIndicatorWindow();
  } else {
    windowManager_->showTutorialWindow();
  }
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
  windowManager_->showSettings();
  return true;
}

void AppDelegate::applicationWillTerminate() { hobbard_->terminate(); }

QRect AppDelegate::screen() { return widestScreen(); }

} // namespace grellan
