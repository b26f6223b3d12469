#include "shell/WindowManager.hpp"

#include "settings/SettingsWindow.hpp"
#include "shell/AppDelegate.hpp"
#include "tutorial/Tutorial.hpp"
#include "views/AboutView.hpp"
#include "views/ActiveModifications.hpp"

#include <QMenuBar>

namespace grellan {
namespace {

void centre(QWidget& window) {
  const QRect screen = AppDelegate::screen();
  window.adjustSize();
  window.move(screen.center() - window.rect().center());
}

// Titled and closable, kept when the user closes it.
void makeContentWindow(QWidget& window, const QString& title) {
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  centre(window);
  window.setWindowTitle(title);
}

void bringToFront(QWidget& window) {
  // Shown and raised, a minimised window would stay iconic, out of reach without a taskbar.
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
}

} // namespace

WindowManager::WindowManager(GrellanKit_& kit, Hobbard& hobbard) : kit_(kit), hobbard_(hobbard) {}

WindowManager::~WindowManager() {
  indicatorWindow_.reset();
  delete tutorialWindow_;
  delete activeModificationsWindow_;
  delete aboutWindow_;
  delete settingsWindow_;
}

MenuItems& WindowManager::menuItems() {
  if (!menuItems_) {
    menuItems_ = std::make_unique<MenuItems>();
  }
  return *menuItems_;
}

void WindowManager::showTutorialWindow() {
  if (!tutorialWindow_) {
    auto* tutorial = new Tutorial(kit_, hobbard_);
    // The window manager outlives the tutorial window it deletes.
    QObject::connect(tutorial, &Tutorial::indicatorWindowWanted, tutorial, [this] { showIndicatorWindow(); });
    QObject::connect(tutorial, &Tutorial::finished, tutorial, [this] { closeTutorialWindow(); });
    tutorialWindow_ = tutorial;
    menuItems().addShortcutsTo(*tutorialWindow_);
    centre(*tutorialWindow_);
    tutorialWindow_->setWindowTitle("grellan setup");
  }
  bringToFront(*tutorialWindow_);
}

void WindowManager::closeTutorialWindow() {
  if (tutorialWindow_) {
    tutorialWindow_->close();
  }
}

void WindowManager::showActiveModificationsView() {
  if (!activeModificationsWindow_) {
    activeModificationsWindow_ = new ActiveModifications(kit_);
    menuItems().addShortcutsTo(*activeModificationsWindow_);
    makeContentWindow(*activeModificationsWindow_, "Active modifications");
  }
  bringToFront(*activeModificationsWindow_);
}

void WindowManager::showAboutWindow() {
  if (!aboutWindow_) {
    aboutWindow_ = new AboutView();
    menuItems().addShortcutsTo(*aboutWindow_);
    makeContentWindow(*aboutWindow_, "About");
  }
  bringToFront(*aboutWindow_);
}

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
  if (!settingsWindow_) {
    auto* delegate = appDelegate();
    if (delegate == nullptr) {
      return;
    }
    settingsWindow_ = new SettingsWindow(kit_, hobbard_, delegate->updater());
    settingsWindow_->addMainMenu([this](QMenuBar& menuBar) { menuItems().addTo(menuBar); });
    QObject::connect(settingsWindow_, &SettingsWindow::activeModificationsWanted, settingsWindow_,
                     [this] { showActiveModificationsView(); });
  }
  bringToFront(*settingsWindow_);
}

} // namespace grellan
