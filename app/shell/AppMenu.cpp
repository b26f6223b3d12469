#include "shell/AppMenu.hpp"

#include "shell/AppDelegate.hpp"

#include <QCoreApplication>

namespace grellan {
namespace {

void withWindowManager(void (WindowManager::*operation)()) {
  if (appDelegate() != nullptr) {
    (appDelegate()->windowManager().*operation)();
  }
}

} // namespace

AppMenu::AppMenu(QWidget* parent)
    : QMenu(parent),
      settings_(addAction(tr("Settings"), [] { withWindowManager(&WindowManager::showSettings); })),
      toggleIndicator_(addAction(tr("Hide indicator"), [this] { showHideIndicatorWindow(); })),
      about_(nullptr),
      quit_(nullptr) {
  addSeparator();
  about_ = addAction(tr("About"), [] { withWindowManager(&WindowManager::showAboutWindow); });
  quit_ = addAction(tr("Quit"), [] { QCoreApplication::quit(); });
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
