#include "settings/IndicatorSettingsView.hpp"

#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "views/IndicatorLocationPicker.hpp"

#include <QHBoxLayout>
#include <QLabel>
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
  row->setObjectName(key + "Row");
  row->setMaximumWidth(rowMaximumWidth);
  // Takes the width it is offered up to the maximum, as a slider row does; not only its small hint.
  row->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
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

// The row in the middle of the width; an alignment would shrink it to its size hint.
QHBoxLayout* centred(QWidget* row) {
  auto* layout = new QHBoxLayout;
  layout->addStretch(1);
  layout->addWidget(row, rowMaximumWidth);
  layout->addStretch(1);
  return layout;
}

} // namespace

IndicatorSettingsView::IndicatorSettingsView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);

  auto* picker = new IndicatorLocationPicker(tr("Location: "), IndicatorLocationPicker::storedLocation(), this);
  locationGroup_ = picker->group();
  auto* locationRow = new QHBoxLayout;
  locationRow->addWidget(picker, 0, Qt::AlignHCenter);
  layout->addLayout(locationRow);
  observations_.push_back(UserDefaults::standard().observe(DefaultsKeys::indicatorLocation, false,
                                                           [picker](const auto&) { picker->refresh(); }));

  layout->addLayout(centred(sliderRow(tr("Alpha:"), tr("0%"), tr("100%"), DefaultsKeys::indicatorAlpha, defaultAlpha,
                                      alphaSlider_, observations_)));
  layout->addLayout(centred(sliderRow(tr("Size:"), tr("small"), tr("big"), DefaultsKeys::indicatorSize, defaultSize,
                                      sizeSlider_, observations_)));
}

} // namespace grellan
