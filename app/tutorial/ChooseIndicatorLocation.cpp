#include "tutorial/ChooseIndicatorLocation.hpp"

#include "views/IndicatorLocationPicker.hpp"

#include <QVBoxLayout>

namespace grellan {

Tutorial::ChooseIndicatorLocation::ChooseIndicatorLocation(Binding<int> tutorialStep, Binding<qint64> indicatorLocation,
                                                           QWidget* parent)
    : Page(std::move(tutorialStep), parent),
      picker_(new IndicatorLocationPicker(Tutorial::tr("location: "), std::move(indicatorLocation))) {
  auto* layout = new QVBoxLayout(this);
  stack(*layout, {text(Tutorial::tr("Choose the Vim mode indicator location"), true), nullptr, padded(picker_), nullptr,
                  buttonRow({button(Tutorial::tr("Continue"), [this] { step(+1); }),
                             button(Tutorial::tr("Back"), [this] { step(-1); })})});
}

void Tutorial::ChooseIndicatorLocation::refresh() { picker_->refresh(); }

} // namespace grellan
