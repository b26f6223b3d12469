#pragma once

#include "tutorial/Page.hpp"

namespace grellan {

// Step 0: the greeting.
class Tutorial::FirstStep final : public Tutorial::Page {
public:
  explicit FirstStep(Binding<int> tutorialStep, QWidget* parent = nullptr);
};

} // namespace grellan
