#include "views/PercentageRing.hpp"

#include "views/RingShape.hpp"

#include <QConicalGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace grellan {
namespace {

double toRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Two gradient stops this close make a hard edge.
constexpr double hardEdge = 1e-6;

} // namespace

PercentageRing::PercentageRing(double ringWidth, double percent, QColor backgroundColor, QList<QColor> foregroundColors,
                               QWidget* parent)
    : QWidget(parent),
      ringWidth_(ringWidth),
      percent_(percent * 100.0),
      backgroundColor_(backgroundColor),
      foregroundColors_(std::move(foregroundColors)) {}

void PercentageRing::setPercent(double fraction) {
  percent_ = fraction * 100.0;
  update();
}

std::optional<PercentageRing::EndCap> PercentageRing::endCap(QSizeF size) const {
  const double m = std::min(size.width(), size.height());
  if (percent_ < 100.0 && ringWidth_ < m * 0.5 * toRadians(360.0 - arc())) {
    return std::nullopt;
  }
  const double theta = toRadians(startAngle + arc());
  const double phi = toRadians(startAngle + 90.0 + arc());
  return EndCap{foregroundColors_.isEmpty() ? QColor(Qt::black) : foregroundColors_.last(),
                QPointF(std::cos(theta) * m * 0.5, std::sin(theta) * m * 0.5),
                QPointF(std::cos(phi) * shadowOffsetMultiplier, std::sin(phi) * shadowOffsetMultiplier)};
}

void PercentageRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const double padding = ringWidth_ * 0.5 + shadowMargin;
  const QRectF area = QRectF(rect()).adjusted(padding, padding, -padding, -padding);
  if (area.width() <= 0 || area.height() <= 0) {
    return;
  }
  painter.translate(area.topLeft());
  const QRectF frame(QPointF(0, 0), area.size());
  const QPointF centre(frame.width() * 0.5, frame.height() * 0.5);

  QPen background(backgroundColor_, ringWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  background.setMiterLimit(10.0);
  painter.strokePath(RingShape{}.path(frame), background);

  // Qt's conical gradient turns the other way round from the ring, so the stops run backwards from
  // the gradient's start.
  const double span = gradientEnd() - gradientStart();
  QConicalGradient gradient(centre, -gradientStart());
  const auto count = foregroundColors_.size();
  for (qsizetype index = 0; index < count; ++index) {
    const double fraction = count == 1 ? 0.0 : static_cast<double>(index) / static_cast<double>(count - 1);
    gradient.setColorAt(std::clamp(1.0 - fraction * span / 360.0, 0.0, 1.0), foregroundColors_[index]);
  }
  // The round cap at the start reaches back into the gap that the gradient leaves, which would take
  // the last colour: the gap's half next to the start takes the first one.
  if (const double gap = 1.0 - span / 360.0; gap > 0.0 && count > 0) {
    gradient.setColorAt(gap * 0.5, foregroundColors_.first());
    gradient.setColorAt(gap * 0.5 + hardEdge, foregroundColors_.last());
  }
  const QPen arcPen(QBrush(gradient), ringWidth_, Qt::SolidLine, Qt::RoundCap);
  if (percent_ > 0.0) {
    painter.strokePath(RingShape{percent_, startAngle, false}.path(frame), arcPen);
  }

  if (const auto cap = endCap(frame.size())) {
    const double radius = ringWidth_ * 0.5;
    const QPointF middle = centre + cap->offset;
    const QPointF shadowMiddle = middle + cap->shadowOffset;
    QRadialGradient shadow(shadowMiddle, radius + shadowRadius);
    shadow.setColorAt(radius / (radius + shadowRadius), shadowColor());
    shadow.setColorAt(1.0, Qt::transparent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(shadowMiddle, radius + shadowRadius, radius + shadowRadius);
    painter.setBrush(cap->color);
    painter.drawEllipse(middle, radius, radius);
  }
}

} // namespace grellan
