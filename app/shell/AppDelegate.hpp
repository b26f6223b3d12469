#pragma once

#include "services/GrellanKit_.hpp"
#include "services/Hobbard.hpp"
#include "services/Updater.hpp"
#include "shell/WindowManager.hpp"

#include <QRect>

#include <iosfwd>
#include <memory>

namespace grellan {

// Creates and owns the application's long-lived objects and follows the application's lifetime.
class AppDelegate final {
public:
  // Creates, in this order, the engine wrapper, the backend control (which waits for the backend
  // configuration's first save), the updater and the window manager; then becomes appDelegate().
  explicit AppDelegate(std::ostream& output);
  ~AppDelegate();

  AppDelegate(const AppDelegate&) = delete;
  AppDelegate& operator=(const AppDelegate&) = delete;

  // The launch road: the tutorial on a first start, else the backend's agents and the indicator.
  void applicationDidFinishLaunching();
  // Shows settings; always true.
  bool applicationShouldHandleReopen(bool hasVisibleWindows);
  void applicationWillTerminate();
  void applicationDidBecomeActive() {}
  bool applicationShouldOpenUntitledFile() const { return true; }

  bool tutorialPassed() const;

  GrellanKit_& kit() { return *kit_; }
  Hobbard& hobbard() { return *hobbard_; }
  Updater& updater() { return *updater_; }
  WindowManager& windowManager() { return *windowManager_; }

  // widestScreen(), which the windows below the shell use directly.
  static QRect screen();

private:
  std::unique_ptr<GrellanKit_> kit_;
  std::unique_ptr<Hobbard> hobbard_;
  std::unique_ptr<Updater> updater_;
  std::unique_ptr<WindowManager> windowManager_;
};

// The application's delegate once it exists; null before.
AppDelegate* appDelegate();

} // namespace grellan
