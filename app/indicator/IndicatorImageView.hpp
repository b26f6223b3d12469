#pragma once

#include "indicator/TextLayer.hpp"
#include "indicator/Widgets.hpp"
#include "services/IndicatorTypes.hpp"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace grellan {

// The indicator window's content: a rounded badge in the mode's colour with the mode letter and,
// above and below it, the two widget texts. Refreshes itself every 0.5 seconds while it exists.
class IndicatorImageView final : public QWidget {
  Q_OBJECT

public:
  // `bounds` is the badge's size in points; the window keeps it in step with its own frame.
  explicit IndicatorImageView(QSizeF bounds, QWidget* parent = nullptr);

  void setIndicator(IndicatorState state);
  void refreshWidgets();

  QSizeF bounds() const { return bounds_; }
  void setBounds(QSizeF bounds);

  QColor backgroundColor() const { return backgroundColor_; }
  double cornerRadius() const { return cornerRadius_; }
  const TextLayer& indicatorText() const { return indicatorText_; }
  Widgets& widgets() { return *widgets_; }
  const QTimer& refreshTimer() const { return timer_; }

protected:
  void paintEvent(QPaintEvent* event) override;
  // Pressing on the badge and dragging moves the window.
  void mousePressEvent(QMouseEvent* event) override;

private:
  void commonInit();

  QSizeF bounds_;
  QColor backgroundColor_;
  double cornerRadius_ = 0.0;
  TextLayer indicatorText_;
  std::unique_ptr<Widgets> widgets_;
  QTimer timer_;
};

} // namespace grellan
