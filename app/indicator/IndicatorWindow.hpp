#pragma once

#include "indicator/IndicatorImageView.hpp"
#include "platform/ObservationToken.hpp"
#include "services/IndicatorTypes.hpp"

#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

#include <vector>

namespace grellan {

// The floating, transparent window that carries the mode badge at one of six places. It follows
// "indicatorLocation", "indicatorAlpha" and "indicatorSize" live, re-places itself when the screens
// change, slides away while the pointer is over it and comes back 2.0 seconds after it leaves, and
// shows the mode that "changeIndicator" notifications carry.
class IndicatorWindow final : public QWidget {
  Q_OBJECT

public:
  IndicatorWindow();
  ~IndicatorWindow() override;

  // Moves the window to its on-screen frame, animated or at once.
  void setFrame(bool animated = true);
  // The mode for a notification's object: only the integers 0 (Insert), 1 (Visual) and 2 (Vim).
  void changeIndicator(const QVariant& object);
  void mouseEntered();
  void mouseExited();

  // Frames in screen coordinates with the origin at the bottom left.
  QSizeF frameSize() const;
  QRectF onScreenFrame() const;
  QRectF offscreenFrame() const;
  // Where the window is or is moving to, in those coordinates.
  QRectF targetFrame() const { return targetFrame_; }
  bool animating() const;

  IndicatorLocation indicatorLocation() const { return indicatorLocation_; }
  double scale() const { return scale_; }
  bool animatedAway() const { return animatedAway_; }
  IndicatorImageView* imageView() const { return imageView_; }

  static constexpr QSizeF maxFrameSize{65.0, 120.0};
  static constexpr int returnDelayMilliseconds = 2000;

protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  void setup();
  void moveTo(const QRectF& frame, bool animated);

  double scale_ = 0.5;
  IndicatorLocation indicatorLocation_ = IndicatorLocation::topMiddle;
  QPointer<IndicatorImageView> imageView_;
  bool animatedAway_ = false;
  QRectF targetFrame_;
  QPropertyAnimation animation_;
  std::vector<ObservationToken> observers_;
};

} // namespace grellan
