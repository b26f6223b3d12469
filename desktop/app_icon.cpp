// app_icon <mark.svg> <colour file> <icon.svg> <icon.png> <png size>
// Draws grellan's application icon from its named assets: the menu-bar mark on a rounded square of the
// primary colour, once as SVG and once as a square PNG.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <cstdio>

namespace {

void draw(QPainter& painter, QSvgRenderer& mark, const QColor& background, const QRectF& bounds) {
  // The mark draws its outline one unit inside its 22-unit view box, with corners of radius 5.
  const qreal unit = bounds.width() / mark.viewBoxF().width();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(background);
  painter.drawRoundedRect(bounds.adjusted(unit, unit, -unit, -unit), 5 * unit, 5 * unit);
  mark.render(&painter, bounds);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s <mark.svg> <colour file> <icon.svg> <icon.png> <png size>\n", argv[0]);
    return 2;
  }
  QSvgRenderer mark(QString::fromLocal8Bit(argv[1]));
  QFile colourFile(QString::fromLocal8Bit(argv[2]));
  if (!mark.isValid() || !colourFile.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "app_icon: cannot read %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  const QColor background = QColor::fromString(QString::fromUtf8(colourFile.readAll()).trimmed());
  bool sizeRead = false;
  const int size = QByteArray(argv[5]).toInt(&sizeRead);
  if (!background.isValid() || !sizeRead || size <= 0) {
    std::fprintf(stderr, "app_icon: %s holds no colour or %s is no size\n", argv[2], argv[5]);
    return 1;
  }

  const QRectF box = mark.viewBoxF();
  QSvgGenerator svg;
  svg.setFileName(QString::fromLocal8Bit(argv[3]));
  svg.setSize(box.size().toSize());
  svg.setViewBox(box);
  svg.setTitle("grellan");
  QPainter svgPainter;
  if (!svgPainter.begin(&svg)) {
    std::fprintf(stderr, "app_icon: cannot write %s\n", argv[3]);
    return 1;
  }
  draw(svgPainter, mark, background, box);
  svgPainter.end();

  QImage png(size, size, QImage::Format_ARGB32_Premultiplied);
  png.fill(Qt::transparent);
  QPainter pngPainter(&png);
  draw(pngPainter, mark, background, QRectF(0, 0, size, size));
  pngPainter.end();
  if (!png.save(QString::fromLocal8Bit(argv[4]))) {
    std::fprintf(stderr, "app_icon: cannot write %s\n", argv[4]);
    return 1;
  }
  return 0;
}
