#include "tutorial/Tutorial.hpp"

#include "platform/UserDefaults.hpp"
#include "resources/Assets.hpp"
#include "services/DefaultsKeys.hpp"
#include "tutorial/ChooseIndicatorLocation.hpp"
#include "tutorial/ChooseVimKey.hpp"
#include "tutorial/EnableHobbardDaemons.hpp"
#include "tutorial/EnableVirtualHIDDevice.hpp"
#include "tutorial/Finished.hpp"
#include "tutorial/FirstStep.hpp"
#include "views/Animation.hpp"
#include "views/IndicatorLocationPicker.hpp"
#include "views/PercentageRing.hpp"

#include <QAbstractAnimation>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace grellan {
namespace {

QColor primary(float opacity) {
  QColor colour = toColor(ColorResource::primary());
  colour.setAlphaF(opacity);
  return colour;
}

} // namespace

Tutorial::Tutorial(GrellanKit_& kit, Hobbard& hobbard, QWidget* parent)
    : QWidget(parent),
      kit_(kit),
      hobbard_(hobbard),
      stepBinding_{[this] { return tutorialStep_; }, [this](const int& step) { setTutorialStep(step); }},
      content_(new QWidget(this)),
      contentLayout_(new QVBoxLayout(content_)),
      ring_(new PercentageRing(ringWidth, progress(tutorialStep_), primary(0.03f), {primary(0.4f), primary(1.0f)})),
      ringAnimation_(new QVariantAnimation(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(padding);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(content_);
  content_->setFixedSize(contentSize);
  contentLayout_->setContentsMargins(0, 0, 0, 0);
  ring_->setFixedSize(PercentageRing::sizeFor(ringSize));
  contentLayout_->addWidget(ring_, 0, Qt::AlignHCenter);

  ringAnimation_->setDuration(DefaultAnimation::duration);
  ringAnimation_->setEasingCurve(DefaultAnimation::easing);
  connect(ringAnimation_, &QVariantAnimation::valueChanged, ring_,
          [this](const QVariant& value) { ring_->setPercent(value.toDouble()); });

  indicatorLocationObservation_ =
      UserDefaults::standard().observe(DefaultsKeys::indicatorLocation, false, [this](const auto&) {
        if (page_) {
          page_->refresh();
        }
      });
  showPage(false);
}

Tutorial::~Tutorial() = default;

double Tutorial::progress(int step) { return static_cast<double>(step) / static_cast<double>(totalSteps - 1); }

void Tutorial::setTutorialStep(int step) {
  if (step == tutorialStep_) {
    return;
  }
  tutorialStep_ = step;
  ringAnimation_->stop();
  ringAnimation_->setStartValue(ring_->percent() / 100.0);
  ringAnimation_->setEndValue(progress(step));
  ringAnimation_->start();
  showPage(true);
}

Tutorial::Page* Tutorial::page() const { return page_; }

bool Tutorial::animating() const {
  for (const QAbstractAnimation* animation : findChildren<QAbstractAnimation*>()) {
    if (animation->state() == QAbstractAnimation::Running) {
      return true;
    }
  }
  return false;
}

Tutorial::Page* Tutorial::makePage() {
  switch (tutorialStep_) {
    case 0:
      return new FirstStep(stepBinding_);
    case 1:
      return new EnableVirtualHIDDevice(stepBinding_, hobbard_);
    case 2:
      return new EnableHobbardDaemons(stepBinding_, hobbard_, [this] { emit indicatorWindowWanted(); });
    case 3:
      return new ChooseIndicatorLocation(stepBinding_, IndicatorLocationPicker::storedLocation());
    case 4:
      return new ChooseVimKey(stepBinding_, kit_);
    case 5:
      return new Finished(stepBinding_, [this] { emit finished(); });
    default:
      return nullptr;
  }
}

void Tutorial::showPage(bool animated) {
  if (page_) {
    // A page's own button may be what changed the step, so the page goes once its click is over.
    page_->leave();
    page_->hide();
    contentLayout_->removeWidget(page_);
    page_->deleteLater();
  }
  page_ = makePage();
  if (page_) {
    contentLayout_->addWidget(page_, 1);
    // Shown now, not at the layout's next turn, so the step's buttons answer at once.
    if (content_->isVisible()) {
      page_->show();
    }
    if (animated) {
      DefaultAnimation::fadeIn(*page_);
    }
  }
}

} // namespace grellan
