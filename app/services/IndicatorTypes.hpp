#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>

namespace grellan {

// The editing mode the badge shows.
enum class IndicatorState { Insert, Vim, Visual };

QColor color(IndicatorState state);
QString character(IndicatorState state);

// Where the badge sits; the raw value is what "indicatorLocation" stores.
enum class IndicatorLocation {
  topLeft = 0,
  topMiddle = 1,
  topRight = 2,
  bottomLeft = 3,
  bottomMiddle = 4,
  bottomRight = 5
};

inline constexpr std::array<IndicatorLocation, 6> allIndicatorLocations = {
    IndicatorLocation::topLeft,    IndicatorLocation::topMiddle,    IndicatorLocation::topRight,
    IndicatorLocation::bottomLeft, IndicatorLocation::bottomMiddle, IndicatorLocation::bottomRight};

int rawValue(IndicatorLocation location);
// 0 to 5, else nothing.
std::optional<IndicatorLocation> indicatorLocationFromRawValue(qint64 rawValue);
// The case's name ("topLeft").
QString caseName(IndicatorLocation location);
// The label shown in the settings and the tutorial ("top left").
QString text(IndicatorLocation location);

// Positions are window origins in screen coordinates whose origin is the bottom left; only the
// chosen screen's width and height count.
QPointF position(IndicatorLocation location, QSizeF size, QSizeF screen);
// Off the edge or corner the badge sits against, leaving an 8-point strip visible.
QPointF animatedAwayPosition(IndicatorLocation location, QSizeF size, QSizeF screen);
// The same for the application's chosen screen.
QPointF position(IndicatorLocation location, QSizeF size);
QPointF animatedAwayPosition(IndicatorLocation location, QSizeF size);

// A frame in those coordinates as a Qt geometry on `screen` (Qt's global coordinates, origin at the
// top left); the one place the two meet.
QRect toQtGeometry(const QRectF& frame, const QRect& screen);

// How the application shows its menu-bar icon; the raw value is what "iconStyle" stores.
enum class IconStyle { MenuBar, Hidden };

QString rawValue(IconStyle style);
std::optional<IconStyle> iconStyleFromRawValue(const QString& rawValue);

// The primary screen's device pixel ratio, 1.0 without a screen; read once.
double scale();

} // namespace grellan
