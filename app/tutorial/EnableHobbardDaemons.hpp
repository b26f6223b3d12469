#pragma once

#include "tutorial/Page.hpp"

namespace grellan {

// Step 2: waits until the backend's daemons may read the keyboard; "Continue" calls `showIndicator`.
class Tutorial::EnableHobbardDaemons final : public Tutorial::Page {
public:
  EnableHobbardDaemons(Binding<int> tutorialStep, Hobbard& hobbard, std::function<void()> showIndicator,
                       QWidget* parent = nullptr);

private:
  void showLayout();

  Hobbard& hobbard_;
  QWidget* notPermitted_;
  QWidget* permitted_;
};

} // namespace grellan
