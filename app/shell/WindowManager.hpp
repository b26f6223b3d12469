#pragma once

#include "indicator/IndicatorWindow.hpp"
#include "settings/SettingsWindow.hpp"
#include "shell/MenuItems.hpp"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace grellan {

class GrellanKit_;
class Hobbard;

// Opens, re-shows and closes the application's own windows. Each window is made on its first
// request and kept; later requests bring it to the front. The settings window shows the main menu,
// whose shortcuts work in every window that takes the focus.
class WindowManager final {
public:
  WindowManager(GrellanKit_& kit, Hobbard& hobbard);
  ~WindowManager();

  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  void showTutorialWindow();
  void closeTutorialWindow();
  void showActiveModificationsView();
  void showAboutWindow();
  void showIndicatorWindow();
  void showHideIndicatorWindow();
  void showSettings();

  IndicatorWindow* indicatorWindow() const { return indicatorWindow_.get(); }
  QWidget* tutorialWindow() const { return tutorialWindow_; }
  QWidget* activeModificationsWindow() const { return activeModificationsWindow_; }
  QWidget* aboutWindow() const { return aboutWindow_; }
  SettingsWindow* settingsWindow() const { return settingsWindow_; }
  // Made with the first window that shows it.
  MenuItems& menuItems();

private:
  GrellanKit_& kit_;
  Hobbard& hobbard_;
  std::unique_ptr<MenuItems> menuItems_;
  std::unique_ptr<IndicatorWindow> indicatorWindow_;
  QPointer<QWidget> tutorialWindow_;
  QPointer<QWidget> activeModificationsWindow_;
  QPointer<QWidget> aboutWindow_;
  QPointer<SettingsWindow> settingsWindow_;
};

} // namespace grellan
