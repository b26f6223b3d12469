#pragma once

#include <QPainterPath>
#include <QRectF>

namespace grellan {

// An arc of a circle whose length is a percentage of the full turn. Angles are in degrees in a
// y-down frame: 0 points right, 90 points down.
struct RingShape {
  double percent = 100.0;
  double startAngle = -90.0;
  bool drawnClockwise = false;

  static double percentToAngle(double percent, double startAngle) { return percent / 100.0 * 360.0 + startAngle; }

  // The arc around the rectangle's middle (its origin is not added), radius half its shorter side.
  QPainterPath path(const QRectF& rect) const;
};

} // namespace grellan
