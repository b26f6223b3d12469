#include "views/Animation.hpp"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace grellan::DefaultAnimation {

void fadeIn(QWidget& widget) {
  auto* effect = new QGraphicsOpacityEffect(&widget);
  effect->setOpacity(0.0);
  widget.setGraphicsEffect(effect);
  auto* animation = new QPropertyAnimation(effect, "opacity", &widget);
  animation->setDuration(duration);
  animation->setEasingCurve(easing);
  animation->setStartValue(0.0);
  animation->setEndValue(1.0);
  // Children paint on their own again once the fade is over.
  QObject::connect(animation, &QPropertyAnimation::finished, &widget, [&widget] { widget.setGraphicsEffect(nullptr); });
  animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace grellan::DefaultAnimation
