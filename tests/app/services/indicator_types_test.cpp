#include "services/IndicatorTypes.hpp"

#include "platform/Screens.hpp"

#include <gtest/gtest.h>

namespace {

using grellan::IndicatorLocation;

TEST(IndicatorLocation, positions_and_away_positions_for_each_location) {
  const QSizeF screen(1920, 1080);
  const QSizeF size(32.5, 60);
  const struct {
    IndicatorLocation location;
    QPointF position;
    QPointF away;
    const char* text;
  } cases[] = {
      {IndicatorLocation::topLeft, {3.0, 1017.0}, {-24.5, 1072.0}, "top left"},
      {IndicatorLocation::topMiddle, {943.75, 1017.0}, {943.75, 1072.0}, "top middle"},
      {IndicatorLocation::topRight, {1884.5, 1017.0}, {1912.0, 1072.0}, "top right"},
      {IndicatorLocation::bottomLeft, {3.0, 3.0}, {-24.5, -52.0}, "bottom left"},
      {IndicatorLocation::bottomMiddle, {943.75, 3.0}, {943.75, -52.0}, "bottom middle"},
      {IndicatorLocation::bottomRight, {1884.5, 3.0}, {1912.0, -52.0}, "bottom right"},
  };
  ASSERT_EQ(std::size(cases), grellan::allIndicatorLocations.size());
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    const auto& expected = cases[index];
    SCOPED_TRACE(expected.text);
    EXPECT_EQ(grellan::allIndicatorLocations[index], expected.location);
    EXPECT_EQ(grellan::rawValue(expected.location), static_cast<int>(index));
    EXPECT_EQ(grellan::indicatorLocationFromRawValue(static_cast<qint64>(index)), expected.location);
    EXPECT_EQ(grellan::position(expected.location, size, screen), expected.position);
    EXPECT_EQ(grellan::animatedAwayPosition(expected.location, size, screen), expected.away);
    EXPECT_EQ(grellan::text(expected.location), expected.text);
  }
  for (const qint64 raw : {-1, 6, 100}) {
    EXPECT_FALSE(grellan::indicatorLocationFromRawValue(raw)) << raw;
  }
}

TEST(IndicatorLocation, a_frame_becomes_a_qt_geometry_measured_from_the_screen_s_top_left) {
  // Bottom left at (3, 3) on a 1920 x 1080 screen that lies right of another one.
  EXPECT_EQ(grellan::toQtGeometry(QRectF(3, 3, 65, 120), QRect(1440, 0, 1920, 1080)), QRect(1443, 957, 65, 120));
  EXPECT_EQ(grellan::toQtGeometry(QRectF(943.75, 1017, 32.5, 60), QRect(0, 0, 1920, 1080)), QRect(944, 3, 33, 60));
}

TEST(IndicatorState, colours_and_letters) {
  using grellan::IndicatorState;
  EXPECT_EQ(grellan::color(IndicatorState::Insert), QColor(65, 134, 246));
  EXPECT_EQ(grellan::color(IndicatorState::Vim), QColor(214, 132, 66));
  EXPECT_EQ(grellan::color(IndicatorState::Visual), QColor(172, 76, 247));
  EXPECT_EQ(grellan::character(IndicatorState::Insert), "i");
  EXPECT_EQ(grellan::character(IndicatorState::Vim), "n");
  EXPECT_EQ(grellan::character(IndicatorState::Visual), "v");
}

TEST(IconStyle, raw_values_match_exactly) {
  EXPECT_EQ(grellan::iconStyleFromRawValue("Menu bar"), grellan::IconStyle::MenuBar);
  EXPECT_EQ(grellan::iconStyleFromRawValue("Hidden"), grellan::IconStyle::Hidden);
  EXPECT_FALSE(grellan::iconStyleFromRawValue("menu bar"));
  EXPECT_FALSE(grellan::iconStyleFromRawValue(""));
  EXPECT_EQ(grellan::rawValue(grellan::IconStyle::MenuBar), "Menu bar");
}

TEST(IndicatorLocation, no_screen_places_on_an_empty_frame_without_failing) {
  auto previous = grellan::Screens::setShared(std::make_unique<grellan::FixedScreens>(std::vector<QRect>{}));
  EXPECT_EQ(grellan::position(IndicatorLocation::bottomLeft, QSizeF(32.5, 60)), QPointF(3.0, 3.0));
  EXPECT_EQ(grellan::position(IndicatorLocation::topMiddle, QSizeF(32.5, 60)), QPointF(-16.25, -63.0));
  grellan::Screens::setShared(std::move(previous));
}

} // namespace
