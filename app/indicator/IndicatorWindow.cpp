#include "indicator/IndicatorWindow.hpp"

#include "platform/NotificationCenter.hpp"
#include "platform/Screens.hpp"
#include "platform/UserDefaults.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/WidestScreen.hpp"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>

namespace grellan {
namespace {

const QString changeIndicatorNotification = "changeIndicator";

bool isInteger(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::SChar:
      return true;
    default:
      return false;
  }
}

// The stored number within the sliders' range 0.0 to 1.0; a non-finite one counts as absent. A
// hand-edited settings file could otherwise cover the screen or hide the window for good.
std::optional<double> unitValue(const QString& key) {
  const auto stored = UserDefaults::standard().doubleValue(key);
  if (!stored || !std::isfinite(*stored)) {
    return std::nullopt;
  }
  return std::clamp(*stored, 0.0, 1.0);
}

} // namespace

IndicatorWindow::IndicatorWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      animation_(this, "geometry") {
  setup();

  // An absent key keeps the window's own starting value (top middle, half size, opaque), which is
  // what the settings show as defaults; a location outside 0 to 5 keeps the current one.
  auto& defaults = UserDefaults::standard();
  observers_.push_back(defaults.observe(DefaultsKeys::indicatorLocation, true, [this](const auto&) {
    const auto raw = UserDefaults::standard().integerValue(DefaultsKeys::indicatorLocation);
    if (const auto location = raw ? indicatorLocationFromRawValue(*raw) : std::nullopt) {
      indicatorLocation_ = *location;
      setFrame(true);
    }
  }));
  observers_.push_back(defaults.observe(DefaultsKeys::indicatorAlpha, true, [this](const auto&) {
    if (const auto alpha = unitValue(DefaultsKeys::indicatorAlpha)) {
      setWindowOpacity(*alpha);
    }
  }));
  observers_.push_back(defaults.observe(DefaultsKeys::indicatorSize, true, [this](const auto&) {
    if (const auto size = unitValue(DefaultsKeys::indicatorSize)) {
      scale_ = *size;
      setFrame(true);
    }
  }));
  observers_.push_back(NotificationCenter::defaultCenter().addObserver(
      changeIndicatorNotification, [this](const QVariant& object) { changeIndicator(object); }));
  observers_.push_back(NotificationCenter::defaultCenter().addObserver(screenParametersChangedNotification,
                                                                       [this](const QVariant&) { setFrame(false); }));
}

IndicatorWindow::~IndicatorWindow() {
  animation_.stop();
  observers_.clear();
}

void IndicatorWindow::setup() {
  imageView_ = new IndicatorImageView(onScreenFrame().size(), this);
  imageView_->setIndicator(IndicatorState::Insert);
  setMouseTracking(true);
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFrame(true);
}

QSizeF IndicatorWindow::frameSize() const { return {maxFrameSize.width() * scale_, maxFrameSize.height() * scale_}; }

QRectF IndicatorWindow::onScreenFrame() const {
  const QSizeF size = frameSize();
  return {position(indicatorLocation_, size), size};
}

QRectF IndicatorWindow::offscreenFrame() const {
  const QSizeF size = targetFrame_.size();
  return {animatedAwayPosition(indicatorLocation_, size), size};
}

bool IndicatorWindow::animating() const { return animation_.state() == QAbstractAnimation::Running; }

void IndicatorWindow::moveTo(const QRectF& frame, bool animated) {
  targetFrame_ = frame;
  const QRect geometry = toQtGeometry(frame, widestScreen());
  animation_.stop();
  if (imageView_) {
    imageView_->setBounds(frame.size());
    imageView_->resize(geometry.size());
  }
  if (animated && isVisible()) {
    animation_.setDuration(200);
    animation_.setStartValue(this->geometry());
    animation_.setEndValue(geometry);
    animation_.start();
  } else {
    setGeometry(geometry);
  }
}

void IndicatorWindow::setFrame(bool animated) { moveTo(onScreenFrame(), animated); }

void IndicatorWindow::changeIndicator(const QVariant& object) {
  if (!isInteger(object) || !imageView_) {
    return;
  }
  switch (object.toLongLong()) {
    case 0:
      imageView_->setIndicator(IndicatorState::Insert);
      break;
    case 1:
      imageView_->setIndicator(IndicatorState::Visual);
      break;
    case 2:
      imageView_->setIndicator(IndicatorState::Vim);
      break;
    default:
      break;
  }
}

void IndicatorWindow::mouseEntered() {
  if (!animatedAway_) {
    moveTo(offscreenFrame(), true);
    animatedAway_ = true;
  }
}

void IndicatorWindow::mouseExited() {
  if (animatedAway_) {
    // The return is not cancelled by a new entry; it belongs to the window and goes with it.
    QTimer::singleShot(returnDelayMilliseconds, Qt::PreciseTimer, this, [this] {
      moveTo(onScreenFrame(), true);
      animatedAway_ = false;
    });
  }
}

void IndicatorWindow::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  mouseEntered();
}

void IndicatorWindow::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  mouseExited();
}

void IndicatorWindow::mouseMoveEvent(QMouseEvent*) {}

} // namespace grellan
