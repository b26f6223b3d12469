#pragma once

#include "tutorial/Page.hpp"

namespace grellan {

class IndicatorLocationPicker;

// Step 3: places the mode indicator; a choice is stored at once and the indicator moves.
class Tutorial::ChooseIndicatorLocation final : public Tutorial::Page {
public:
  ChooseIndicatorLocation(Binding<int> tutorialStep, Binding<qint64> indicatorLocation, QWidget* parent = nullptr);

  IndicatorLocationPicker* picker() const { return picker_; }
  void refresh() override;

private:
  IndicatorLocationPicker* picker_;
};

} // namespace grellan
