#pragma once

#include "services/SettingsShortcut.hpp"

#include <QKeySequence>

class QAction;
class QMenu;

namespace grellan {

class WindowManager;

// Calls `operation` on the running application's window manager; without a running application it
// does nothing.
void withWindowManager(void (WindowManager::*operation)());

// The "Settings" item, which shows settings, with `shortcut` (empty: none); the tray menu and the main
// menu both offer it, and so the "About" and "Quit" items.
QAction* addSettingsItem(QMenu& menu, const QKeySequence& shortcut);
// The "About" item, which shows the About window.
QAction* addAboutItem(QMenu& menu);
// The "Quit" item, which ends the application, with `shortcut` (empty: none).
QAction* addQuitItem(QMenu& menu, const QKeySequence& shortcut);

} // namespace grellan
