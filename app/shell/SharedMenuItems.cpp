#include "shell/SharedMenuItems.hpp"

#include "shell/AppDelegate.hpp"

#include <QCoreApplication>
#include <QMenu>

namespace grellan {

void withWindowManager(void (WindowManager::*operation)()) {
  if (appDelegate() != nullptr) {
    (appDelegate()->windowManager().*operation)();
  }
}

QAction* addSettingsItem(QMenu& menu, const QKeySequence& shortcut) {
  return menu.addAction(QCoreApplication::translate("grellan::SharedMenuItems", "Settings"), shortcut,
                        [] { withWindowManager(&WindowManager::showSettings); });
}

QAction* addAboutItem(QMenu& menu) {
  return menu.addAction(QCoreApplication::translate("grellan::SharedMenuItems", "About"),
                        [] { withWindowManager(&WindowManager::showAboutWindow); });
}

QAction* addQuitItem(QMenu& menu, const QKeySequence& shortcut) {
  return menu.addAction(QCoreApplication::translate("grellan::SharedMenuItems", "Quit"), shortcut,
                        [] { QCoreApplication::quit(); });
}

} // namespace grellan
