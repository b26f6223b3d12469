#pragma once

#include <QEasingCurve>

class QWidget;

namespace grellan {

// The default animation of a change on screen.
namespace DefaultAnimation {

inline constexpr int duration = 350;
inline const QEasingCurve easing{QEasingCurve::InOutQuad};

// Lets `widget` appear by fading it in; the animation belongs to the widget.
void fadeIn(QWidget& widget);

} // namespace DefaultAnimation
} // namespace grellan
