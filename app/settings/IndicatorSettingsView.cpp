#include "settings/IndicatorSettingsView.hpp"

#include "indicator/IndicatorTypes.hpp"
#include "platform/UserDefaults.hpp"
#include "settings/CamelCase.hpp"
#include "shell/DefaultsKeys.hpp"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace grellan {
namespace {

constexpr int rowMaximumWidth = 250;

int toSlider(double value) {
  return static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * IndicatorSettingsView::sliderSteps));
}

double fromSlider(int position) { return static_cast<double>(position) / IndicatorSettingsView::sliderSteps; }

// A titled slider over 0.0 to 1.0 bound to a user-defaults key, with its two end marks under it.
QWidget* sliderRow(const QString& title, const QString& low, const QString& high, const QString& key, double fallback,
                   QSlider*& slider, std::vector<ObservationToken>& observations) {
  auto* row = new QWidget;
  row->setMaximumWidth(rowMaximumWidth);
  auto* layout = new QVBoxLayout(row);
  layout->addWidget(new QLabel(title, row), 0, Qt::AlignHCenter);
  slider = new QSlider(Qt::Horizontal, row);
  slider->setObjectName(key);
  slider->setRange(0, IndicatorSettingsView::sliderSteps);
  layout->addWidget(slider);
  auto* marks = new QHBoxLayout;
  marks->addWidget(new QLabel(low, row));
  marks->addStretch();
  marks->addWidget(new QLabel(high, row));
  layout->addLayout(marks);

  QObject::connect(slider, &QSlider::valueChanged, row,
                   [key](int position) { UserDefaults::standard().setValue(key, fromSlider(position)); });
  QSlider* bound = slider;
  observations.push_back(UserDefaults::standard().observe(key, true, [bound, key, fallback](const auto&) {
    const QSignalBlocker blocker(bound);
    const double stored = UserDefaults::standard().doubleValue(key).value_or(fallback);
    bound->setValue(toSlider(std::isfinite(stored) ? stored : fallback));
  }));
  return row;
}

} // namespace

IndicatorSettingsView::IndicatorSettingsView(QWidget* parent)
    : QWidget(parent), locationGroup_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);

  auto* picker = new QGroupBox(tr("Location: "), this);
  auto* options = new QVBoxLayout(picker);
  for (const IndicatorLocation location : allIndicatorLocations) {
    auto* option = new QRadioButton(camelCaseToWords(caseName(location)), picker);
    locationGroup_->addButton(option, rawValue(location));
    options->addWidget(option);
  }
  auto* locationRow = new QHBoxLayout;
  locationRow->addWidget(picker, 0, Qt::AlignHCenter);
  layout->addLayout(locationRow);
  connect(locationGroup_, &QButtonGroup::idClicked, this,
          [](int id) { UserDefaults::standard().setValue(DefaultsKeys::indicatorLocation, id); });
  observations_.push_back(UserDefaults::standard().observe(DefaultsKeys::indicatorLocation, true, [this](const auto&) {
    const auto stored = UserDefaults::standard().integerValue(DefaultsKeys::indicatorLocation);
    const auto location = indicatorLocationFromRawValue(stored.value_or(defaultLocation));
    QAbstractButton* chosen = location ? locationGroup_->button(rawValue(*location)) : nullptr;
    // A stored number that names no location leaves every option unchosen.
    locationGroup_->setExclusive(false);
    for (QAbstractButton* option : locationGroup_->buttons()) {
      option->setChecked(option == chosen);
    }
    locationGroup_->setExclusive(true);
  }));

  layout->addWidget(sliderRow(tr("Alpha:"), tr("0%"), tr("100%"), DefaultsKeys::indicatorAlpha, defaultAlpha,
                              alphaSlider_, observations_),
                    0, Qt::AlignHCenter);
  layout->addWidget(sliderRow(tr("Size:"), tr("small"), tr("big"), DefaultsKeys::indicatorSize, defaultSize,
                              sizeSlider_, observations_),
                    0, Qt::AlignHCenter);
}

} // namespace grellan
