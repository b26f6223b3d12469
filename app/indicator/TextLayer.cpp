#include "indicator/TextLayer.hpp"

#include <QFont>
#include <QPainter>

namespace grellan {

void TextLayer::draw(QPainter& painter, double badgeHeight) const {
  if (string.isEmpty() || fontSize <= 0.0) {
    return;
  }
  QFont font = painter.font();
  // Sizes are in points of the badge, which are the painter's logical pixels.
  font.setPointSizeF(fontSize * 72.0 / painter.device()->logicalDpiY());
  font.setWeight(mediumWeight ? QFont::Medium : QFont::Normal);
  painter.setFont(font);
  const QRectF area(frame.x(), badgeHeight - frame.y() - frame.height(), frame.width(), frame.height());
  const int flags = Qt::AlignHCenter | Qt::AlignTop | (wrapped ? Qt::TextWordWrap : 0);
  if (shadowOpacity > 0.0) {
    QColor shadow = Qt::black;
    shadow.setAlphaF(static_cast<float>(shadowOpacity));
    painter.setPen(shadow);
    // The offset's y points up in the badge's coordinates.
    painter.drawText(area.translated(shadowOffset.x(), -shadowOffset.y()), flags, string);
  }
  painter.setPen(foregroundColor);
  painter.drawText(area, flags, string);
}

} // namespace grellan
