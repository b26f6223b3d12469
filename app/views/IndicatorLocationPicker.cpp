#include "views/IndicatorLocationPicker.hpp"

#include "platform/UserDefaults.hpp"
#include "services/CamelCase.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/IndicatorTypes.hpp"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace grellan {

IndicatorLocationPicker::IndicatorLocationPicker(const QString& title, Binding<qint64> location, QWidget* parent)
    : QGroupBox(title, parent), location_(std::move(location)), group_(new QButtonGroup(this)) {
  auto* options = new QVBoxLayout(this);
  for (const IndicatorLocation option : allIndicatorLocations) {
    auto* button = new QRadioButton(camelCaseToWords(caseName(option)), this);
    group_->addButton(button, rawValue(option));
    options->addWidget(button);
  }
  connect(group_, &QButtonGroup::idClicked, this, [this](int id) { location_.set(id); });
  refresh();
}

Binding<qint64> IndicatorLocationPicker::storedLocation() {
  return {
      [] { return UserDefaults::standard().integerValue(DefaultsKeys::indicatorLocation).value_or(defaultLocation); },
      [](const qint64& location) { UserDefaults::standard().setValue(DefaultsKeys::indicatorLocation, location); }};
}

void IndicatorLocationPicker::refresh() {
  const auto location = indicatorLocationFromRawValue(location_.get());
  QAbstractButton* chosen = location ? group_->button(rawValue(*location)) : nullptr;
  group_->setExclusive(false);
  for (QAbstractButton* option : group_->buttons()) {
    option->setChecked(option == chosen);
  }
  group_->setExclusive(true);
}

} // namespace grellan
