#include "indicator/IndicatorImageView.hpp"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace grellan {

IndicatorImageView::IndicatorImageView(QSizeF bounds, QWidget* parent) : QWidget(parent), bounds_(bounds) {
  commonInit();
}

void IndicatorImageView::commonInit() {
  setAttribute(Qt::WA_TranslucentBackground);
  widgets_ = std::make_unique<Widgets>(*this);
  widgets_->commonInit();

  indicatorText_.string = "n";
  indicatorText_.foregroundColor = Qt::white;
  indicatorText_.contentsScale = scale();
  indicatorText_.frame = QRectF(QPointF(), bounds_);
  indicatorText_.fontSize = 18.0;
  indicatorText_.mediumWeight = true;
  indicatorText_.shadowOpacity = 0.2;
  indicatorText_.shadowOffset = QPointF(1.2, -1.2);

  cornerRadius_ = 6.0;

  // The timer belongs to the view, so it stops with it.
  timer_.setInterval(500);
  connect(&timer_, &QTimer::timeout, this, &IndicatorImageView::refreshWidgets);
  timer_.start();
}

void IndicatorImageView::setBounds(QSizeF bounds) { bounds_ = bounds; }

void IndicatorImageView::setIndicator(IndicatorState state) {
  backgroundColor_ = color(state);
  indicatorText_.string = character(state);
  update();
}

void IndicatorImageView::refreshWidgets() {
  const TextLayer top = widgets_->topWidgetText;
  const TextLayer bottom = widgets_->bottomWidgetText;
  const TextLayer letter = indicatorText_;
  widgets_->refreshWidgets();
  const double width = bounds_.width();
  const double height = bounds_.height();
  const double fontSize = width / (1.2 - widgets_->fontSizeMultiplier);
  indicatorText_.fontSize = fontSize;
  const double inset = widgets_->moveUp * height + ((height - fontSize) * 0.5 - fontSize / 7.0);
  indicatorText_.frame = QRectF(0.0, inset, width, height - 2.0 * inset);
  // Most refreshes change nothing; only a change is drawn.
  if (!(top == widgets_->topWidgetText && bottom == widgets_->bottomWidgetText && letter == indicatorText_)) {
    update();
  }
}

void IndicatorImageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QPainterPath badge;
  badge.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
  painter.fillPath(badge, backgroundColor_);
  if (bounds_.isEmpty()) {
    return;
  }
  painter.setClipPath(badge);
  // Layers are laid out for the badge's size in points; the widget's whole pixels may differ a little.
  painter.scale(width() / bounds_.width(), height() / bounds_.height());
  widgets_->topWidgetText.draw(painter, bounds_.height());
  widgets_->bottomWidgetText.draw(painter, bounds_.height());
  indicatorText_.draw(painter, bounds_.height());
}

void IndicatorImageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && window()->windowHandle() != nullptr) {
    window()->windowHandle()->startSystemMove();
  }
}

} // namespace grellan
