#pragma once

#include "tutorial/Page.hpp"

namespace grellan {

// Step 1: has the backend's virtual HID driver activated, then starts the backend's agents. While
// the driver is not loaded it offers the activation, and after it the instructions to allow the
// driver; once the backend reports the driver loaded it confirms and offers "Continue".
class Tutorial::EnableVirtualHIDDevice final : public Tutorial::Page {
public:
  EnableVirtualHIDDevice(Binding<int> tutorialStep, Hobbard& hobbard, QWidget* parent = nullptr);

  // Set by the activate button; it lasts while the step stays current.
  bool activatePressed() const { return activatePressed_; }
  void setActivatePressed(bool pressed);

private:
  void showLayout(bool animated);

  Hobbard& hobbard_;
  bool activatePressed_ = false;
  QWidget* notLoaded_;
  QWidget* activate_;
  QWidget* allow_;
  QWidget* enabled_;
};

} // namespace grellan
