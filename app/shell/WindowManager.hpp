#pragma once

#include "indicator/IndicatorWindow.hpp"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace grellan {

class GrellanKit_;
class Hobbard;

// Opens, re-shows and closes the application's own windows. Each window is made on its first
// request and kept; later requests bring it to the front.
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
  // The windows asked for that have no screen of their own yet, in the order of the requests.
  const QStringList& pendingRequests() const { return pendingRequests_; }

private:
  GrellanKit_& kit_;
  Hobbard& hobbard_;
  std::unique_ptr<IndicatorWindow> indicatorWindow_;
  QPointer<QWidget> tutorialWindow_;
  QStringList pendingRequests_;
};

} // namespace grellan
