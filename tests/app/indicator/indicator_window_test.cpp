#include "indicator/IndicatorWindow.hpp"

#include "platform/NotificationCenter.hpp"
#include "services/DefaultsKeys.hpp"
#include "support/app/platform/indicator_fixture.hpp"
#include "support/app/platform/wait.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using grellan::IndicatorLocation;
using grellan::IndicatorWindow;
using grellan_test::waitUntil;
namespace keys = grellan::DefaultsKeys;

class IndicatorWindowTest : public grellan_test::IndicatorFixture {
protected:
  // The window where it is once any animation has finished, in bottom-left screen coordinates.
  static bool settledAt(const IndicatorWindow& window, const QRectF& frame) {
    return waitUntil([&] { return !window.animating(); }) && window.targetFrame() == frame &&
           window.geometry() == grellan::toQtGeometry(frame, QRect(0, 0, 1920, 1080));
  }
};

TEST_F(IndicatorWindowTest, each_location_and_size_gives_its_frame) {
  IndicatorWindow window;
  window.show();
  const struct {
    int location;
    double size;
    QRectF frame;
  } cases[] = {
      {0, 0.5, {3.0, 1017.0, 32.5, 60.0}},    {1, 0.5, {943.75, 1017.0, 32.5, 60.0}},
      {2, 0.5, {1884.5, 1017.0, 32.5, 60.0}}, {3, 0.5, {3.0, 3.0, 32.5, 60.0}},
      {4, 0.5, {943.75, 3.0, 32.5, 60.0}},    {5, 0.5, {1884.5, 3.0, 32.5, 60.0}},
      {3, 1.0, {3.0, 3.0, 65.0, 120.0}},      {1, 1.0, {927.5, 957.0, 65.0, 120.0}},
  };
  for (const auto& placement : cases) {
    SCOPED_TRACE(testing::Message() << placement.location << " at " << placement.size);
    defaults().setValue(keys::indicatorSize, placement.size);
    defaults().setValue(keys::indicatorLocation, placement.location);
    // The window moves at once, animated.
    EXPECT_EQ(window.targetFrame(), placement.frame);
    EXPECT_TRUE(settledAt(window, placement.frame));
    EXPECT_EQ(window.imageView()->bounds(), placement.frame.size());
  }
}

TEST_F(IndicatorWindowTest, absent_or_unusable_settings_keep_the_window_s_own_values) {
  defaults().setValue(keys::indicatorLocation, 9);
  IndicatorWindow window;
  EXPECT_EQ(window.indicatorLocation(), IndicatorLocation::topMiddle);
  EXPECT_EQ(window.scale(), 0.5);
  EXPECT_EQ(window.windowOpacity(), 1.0);
  EXPECT_EQ(window.targetFrame(), QRectF(943.75, 1017.0, 32.5, 60.0));

  defaults().setValue(keys::indicatorLocation, 3);
  defaults().setValue(keys::indicatorLocation, -1);
  defaults().setValue(keys::indicatorLocation, "left");
  defaults().remove(keys::indicatorLocation);
  EXPECT_EQ(window.indicatorLocation(), IndicatorLocation::bottomLeft);

  defaults().setValue(keys::indicatorAlpha, 0.4);
  EXPECT_NEAR(window.windowOpacity(), 0.4, 0.01);
  defaults().remove(keys::indicatorAlpha);
  EXPECT_NEAR(window.windowOpacity(), 0.4, 0.01);
}

TEST_F(IndicatorWindowTest, size_and_alpha_stay_within_0_and_1_and_a_non_finite_number_counts_as_absent) {
  IndicatorWindow window;
  // As a hand-edited settings file holds them (text read as numbers), and as numbers.
  constexpr double infinity = std::numeric_limits<double>::infinity();
  const struct {
    QVariant stored;
    double scale;
    double opacity;
  } cases[] = {
      {"20", 1.0, 1.0},         {"0.3", 0.3, 0.3},     {1e308, 1.0, 1.0}, {"nan", 1.0, 1.0},
      {std::nan(""), 1.0, 1.0}, {"-1", 0.0, 0.0},      {"0.6", 0.6, 0.6}, {infinity, 0.6, 0.6},
      {"inf", 0.6, 0.6},        {-infinity, 0.6, 0.6}, {-0.5, 0.0, 0.0},
  };
  for (const auto& setting : cases) {
    SCOPED_TRACE(setting.stored.toString().toStdString());
    defaults().setValue(keys::indicatorSize, setting.stored);
    defaults().setValue(keys::indicatorAlpha, setting.stored);
    EXPECT_DOUBLE_EQ(window.scale(), setting.scale);
    EXPECT_NEAR(window.windowOpacity(), setting.opacity, 0.01);
    EXPECT_EQ(window.targetFrame().size(), QSizeF(65.0 * setting.scale, 120.0 * setting.scale));
  }
}

TEST_F(IndicatorWindowTest, change_indicator_shows_only_the_integers_0_1_and_2) {
  IndicatorWindow window;
  auto& view = *window.imageView();
  EXPECT_EQ(view.indicatorText().string, "i");
  const struct {
    QVariant object;
    QString letter;
    QColor color;
  } cases[] = {
      {1, "v", QColor(172, 76, 247)},
      {QVariant(), "v", QColor(172, 76, 247)},
      {3, "v", QColor(172, 76, 247)},
      {QString("0"), "v", QColor(172, 76, 247)},
      {2.0, "v", QColor(172, 76, 247)},
      {2, "n", QColor(214, 132, 66)},
      {-1, "n", QColor(214, 132, 66)},
      {QVariant(qlonglong(0)), "i", QColor(65, 134, 246)},
      {QVariant(uint(1)), "v", QColor(172, 76, 247)},
  };
  for (const auto& change : cases) {
    SCOPED_TRACE(change.object.toString().toStdString());
    grellan::NotificationCenter::defaultCenter().post("changeIndicator", change.object);
    EXPECT_EQ(view.indicatorText().string, change.letter);
    EXPECT_EQ(view.backgroundColor(), change.color);
  }
}

TEST_F(IndicatorWindowTest, entering_twice_moves_away_once_and_leaving_brings_it_back_after_two_seconds) {
  defaults().setValue(keys::indicatorLocation, 5);
  IndicatorWindow window;
  window.show();
  const QRectF onScreen(1884.5, 3.0, 32.5, 60.0);
  const QRectF away(1912.0, -52.0, 32.5, 60.0);
  ASSERT_TRUE(settledAt(window, onScreen));

  window.mouseEntered();
  EXPECT_TRUE(window.animatedAway());
  EXPECT_EQ(window.targetFrame(), away);
  window.mouseEntered();
  EXPECT_TRUE(settledAt(window, away));

  QElapsedTimer timer;
  timer.start();
  window.mouseExited();
  EXPECT_TRUE(window.animatedAway());
  ASSERT_TRUE(waitUntil([&] { return !window.animatedAway(); }, std::chrono::seconds(10)));
  EXPECT_GE(timer.elapsed(), 1990);
  EXPECT_TRUE(settledAt(window, onScreen));

  // Leaving while on screen schedules nothing.
  window.mouseExited();
  EXPECT_FALSE(window.animatedAway());
}

TEST_F(IndicatorWindowTest, a_screen_change_re_places_the_window_at_once) {
  IndicatorWindow window;
  window.show();
  screens().setFrames({QRect(0, 0, 1280, 800)});
  EXPECT_FALSE(window.animating());
  EXPECT_EQ(window.targetFrame(), QRectF(623.75, 737.0, 32.5, 60.0));
  EXPECT_EQ(window.geometry(), QRect(624, 3, 33, 60));
}

TEST_F(IndicatorWindowTest, a_window_that_is_gone_leaves_no_observer_behind) {
  for (int round = 0; round < 3; ++round) {
    auto window = std::make_unique<IndicatorWindow>();
    window->show();
    window->mouseEntered();
    window->mouseExited();
    window.reset();
  }
  // Nothing of the windows is called any more.
  defaults().setValue(keys::indicatorLocation, 2);
  defaults().setValue(keys::indicatorSize, 1.0);
  grellan::NotificationCenter::defaultCenter().post("changeIndicator", 1);
  screens().setFrames({QRect(0, 0, 800, 600)});
  QCoreApplication::processEvents();
}

} // namespace
