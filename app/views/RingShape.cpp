#include "views/RingShape.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace grellan {

QPainterPath RingShape::path(const QRectF& rect) const {
  const double radius = std::min(rect.width(), rect.height()) * 0.5;
  const QPointF centre(rect.width() * 0.5, rect.height() * 0.5);
  const double endAngle = percentToAngle(percent, startAngle);
  double sweep = endAngle - startAngle;
  if (drawnClockwise && sweep > 0) {
    // Going the other way round reaches the same end angle after the rest of the turn.
    sweep -= 360.0;
  }
  const double start = startAngle * std::numbers::pi / 180.0;
  QPainterPath path(centre + QPointF(std::cos(start) * radius, std::sin(start) * radius));
  // Qt counts angles upwards from the x axis, so y-down degrees change sign.
  path.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), -startAngle, -sweep);
  return path;
}

} // namespace grellan
