#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QWidget>

#include <optional>

namespace grellan {

// A progress ring: a full background ring and over it an arc, filled with an angular gradient, whose
// length is the percentage of the full turn; a shadowed round cap marks the arc's end once the gap
// left is no longer than the ring is wide. The widget keeps room around the ring for that shadow.
class PercentageRing final : public QWidget {
  Q_OBJECT

public:
  static constexpr double startAngle = -90.0;
  static constexpr double shadowRadius = 5.0;
  static constexpr double shadowOffsetMultiplier = shadowRadius + 2.0;
  static QColor shadowColor() { return QColor::fromRgbF(0, 0, 0, 0.2f); }
  // How far the end cap's shadow can reach beyond the ring: its offset and its blur.
  static constexpr int shadowMargin = static_cast<int>(shadowOffsetMultiplier + shadowRadius);
  // The widget's size for a ring of that size.
  static QSize sizeFor(QSize ring) { return ring.grownBy({shadowMargin, shadowMargin, shadowMargin, shadowMargin}); }

  // `percent` is a fraction, 0.0 to 1.0.
  PercentageRing(double ringWidth, double percent, QColor backgroundColor, QList<QColor> foregroundColors,
                 QWidget* parent = nullptr);

  double ringWidth() const { return ringWidth_; }
  // 0 to 100.
  double percent() const { return percent_; }
  void setPercent(double fraction);

  // Degrees of arc drawn.
  double arc() const { return percent_ / 100.0 * 360.0; }
  // Where the gradient starts and ends, in degrees.
  double gradientStart() const { return percent_ >= 100.0 ? startAngle + arc() - 360.0 : startAngle; }
  double gradientEnd() const { return startAngle + arc(); }

  struct EndCap {
    QColor color;
    // The cap's middle from the ring's middle, and the shadow's offset from the cap.
    QPointF offset;
    QPointF shadowOffset;
  };
  // The end cap for a ring drawn in an area of that size (padding and shadow margin already taken),
  // if it has one.
  std::optional<EndCap> endCap(QSizeF size) const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  double ringWidth_;
  double percent_;
  QColor backgroundColor_;
  QList<QColor> foregroundColors_;
};

} // namespace grellan
