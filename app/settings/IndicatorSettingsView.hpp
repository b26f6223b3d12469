#pragma once

#include "platform/ObservationToken.hpp"

#include <QWidget>

#include <vector>

class QButtonGroup;
class QSlider;

namespace grellan {

// The "Indicator" tab: where the indicator sits, how opaque and how large it is. Each control writes
// its user-defaults key at once and follows the key when something else writes it.
class IndicatorSettingsView final : public QWidget {
  Q_OBJECT

public:
  static constexpr double defaultAlpha = 1.0;
  static constexpr double defaultSize = 0.5;
  // Slider steps over 0.0 to 1.0; fine enough to feel continuous.
  static constexpr int sliderSteps = 1000;

  explicit IndicatorSettingsView(QWidget* parent = nullptr);

  // One radio button per location, in the locations' order; the id is the raw value.
  QButtonGroup* locationGroup() const { return locationGroup_; }
  QSlider* alphaSlider() const { return alphaSlider_; }
  QSlider* sizeSlider() const { return sizeSlider_; }

private:
  QButtonGroup* locationGroup_ = nullptr;
  QSlider* alphaSlider_ = nullptr;
  QSlider* sizeSlider_ = nullptr;
  std::vector<ObservationToken> observations_;
};

} // namespace grellan
