#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace grellan {

// One line of text the badge draws: horizontally centred at the top of its frame. Frames are in the
// badge's own coordinates with the origin at its bottom left.
struct TextLayer {
  QString string;
  QColor foregroundColor = Qt::white;
  double contentsScale = 1.0;
  double fontSize = 36.0;
  bool mediumWeight = false;
  bool wrapped = false;
  QRectF frame;
  double shadowOpacity = 0.0;
  QPointF shadowOffset;

  bool operator==(const TextLayer&) const = default;

  // Draws the layer into a badge of that height.
  void draw(QPainter& painter, double badgeHeight) const;
};

} // namespace grellan
