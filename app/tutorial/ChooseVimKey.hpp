#pragma once

#include "tutorial/Page.hpp"

namespace grellan {

class VimKeyPicker;
namespace LaunchAtLogin {
class Toggle;
}

// Step 4: chooses the Vim mode key and launch at login. The engine gets the stored key when the page
// comes and again whenever the stored key changes, so it holds the key the page shows.
class Tutorial::ChooseVimKey final : public Tutorial::Page {
public:
  ChooseVimKey(Binding<int> tutorialStep, GrellanKit_& kit, QWidget* parent = nullptr);

  VimKeyPicker* picker() const { return picker_; }
  LaunchAtLogin::Toggle* launchAtLoginToggle() const { return launchAtLoginToggle_; }

private:
  void sendVimKey();

  GrellanKit_& kit_;
  QString sentVimKey_;
  VimKeyPicker* picker_;
  LaunchAtLogin::Toggle* launchAtLoginToggle_;
};

} // namespace grellan
