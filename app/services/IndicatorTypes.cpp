#include "services/IndicatorTypes.hpp"

#include "services/CamelCase.hpp"
#include "services/WidestScreen.hpp"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace grellan {
namespace {

constexpr double margin = 3.0;
// What stays visible of a badge moved away, beyond the margin.
constexpr double visibleStrip = 5.0;

bool atTop(IndicatorLocation location) { return rawValue(location) <= 2; }

} // namespace

QColor color(IndicatorState state) {
  switch (state) {
    case IndicatorState::Insert:
      return QColor::fromRgbF(65.0f / 255, 134.0f / 255, 246.0f / 255, 1.0f);
    case IndicatorState::Vim:
      return QColor::fromRgbF(214.0f / 255, 132.0f / 255, 66.0f / 255, 1.0f);
    case IndicatorState::Visual:
      break;
  }
  return QColor::fromRgbF(172.0f / 255, 76.0f / 255, 247.0f / 255, 1.0f);
}

QString character(IndicatorState state) {
  static const std::array<QString, 3> letters = {"i", "n", "v"};
  return letters[static_cast<std::size_t>(state)];
}

int rawValue(IndicatorLocation location) { return static_cast<int>(location); }

std::optional<IndicatorLocation> indicatorLocationFromRawValue(qint64 raw) {
  if (raw < 0 || raw > 5) {
    return std::nullopt;
  }
  return static_cast<IndicatorLocation>(raw);
}

QString caseName(IndicatorLocation location) {
  static const std::array<QString, 6> names = {"topLeft",    "topMiddle",    "topRight",
                                               "bottomLeft", "bottomMiddle", "bottomRight"};
  return names[static_cast<std::size_t>(location)];
}

QString text(IndicatorLocation location) { return camelCaseToWords(caseName(location)); }

QPointF position(IndicatorLocation location, QSizeF size, QSizeF screen) {
  const double y = atTop(location) ? screen.height() - size.height() - margin : margin;
  switch (location) {
    case IndicatorLocation::topLeft:
    case IndicatorLocation::bottomLeft:
      return {margin, y};
    case IndicatorLocation::topMiddle:
    case IndicatorLocation::bottomMiddle:
      return {screen.width() * 0.5 - size.width() * 0.5, y};
    case IndicatorLocation::topRight:
    case IndicatorLocation::bottomRight:
      break;
  }
  return {screen.width() - size.width() - margin, y};
}

QPointF animatedAwayPosition(IndicatorLocation location, QSizeF size, QSizeF screen) {
  const QPointF origin = position(location, size, screen);
  const double y =
      atTop(location) ? origin.y() + size.height() - visibleStrip : origin.y() - size.height() + visibleStrip;
  switch (location) {
    case IndicatorLocation::topLeft:
    case IndicatorLocation::bottomLeft:
      return {origin.x() - size.width() + visibleStrip, y};
    case IndicatorLocation::topMiddle:
    case IndicatorLocation::bottomMiddle:
      return {origin.x(), y};
    case IndicatorLocation::topRight:
    case IndicatorLocation::bottomRight:
      break;
  }
  return {origin.x() + size.width() - visibleStrip, y};
}

QPointF position(IndicatorLocation location, QSizeF size) { return position(location, size, widestScreen().size()); }

QPointF animatedAwayPosition(IndicatorLocation location, QSizeF size) {
  return animatedAwayPosition(location, size, widestScreen().size());
}

QRect toQtGeometry(const QRectF& frame, const QRect& screen) {
  const double top = screen.height() - frame.y() - frame.height();
  return {static_cast<int>(std::lround(screen.x() + frame.x())), static_cast<int>(std::lround(screen.y() + top)),
          static_cast<int>(std::lround(frame.width())), static_cast<int>(std::lround(frame.height()))};
}

QString rawValue(IconStyle style) { return style == IconStyle::MenuBar ? "Menu bar" : "Hidden"; }

std::optional<IconStyle> iconStyleFromRawValue(const QString& raw) {
  for (const IconStyle style : {IconStyle::MenuBar, IconStyle::Hidden}) {
    if (rawValue(style) == raw) {
      return style;
    }
  }
  return std::nullopt;
}

double scale() {
  static const double value = [] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
  }();
  return value;
}

} // namespace grellan
