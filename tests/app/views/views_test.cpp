#include "views/AboutView.hpp"
#include "views/ActiveModifications.hpp"
#include "views/PercentageRing.hpp"
#include "views/RingShape.hpp"
#include "views/VimKeyPicker.hpp"

#include "platform/engine/GRKGrellanKit.hpp"
#include "services/GrellanKit_.hpp"
#include "support/app/platform/url_recorder.hpp"

#include <QImage>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using grellan::PercentageRing;
using grellan::RingShape;

constexpr double tolerance = 1e-9;

TEST(RingTest, a_default_shape_is_a_full_circle_around_the_middle_of_its_rectangle) {
  const QPainterPath path = RingShape{}.path(QRectF(10, 20, 100, 60));
  const QRectF bounds = path.boundingRect();
  EXPECT_NEAR(bounds.center().x(), 50.0, 0.01);
  EXPECT_NEAR(bounds.center().y(), 30.0, 0.01);
  EXPECT_NEAR(bounds.width(), 60.0, 0.01);
  EXPECT_NEAR(bounds.height(), 60.0, 0.01);
  EXPECT_DOUBLE_EQ(RingShape::percentToAngle(50.0, -90.0), 90.0);
}

TEST(RingTest, a_half_shape_runs_from_the_top_through_the_right_to_the_bottom) {
  for (const bool clockwise : {false, true}) {
    const QPainterPath path = RingShape{50.0, -90.0, clockwise}.path(QRectF(0, 0, 100, 100));
    EXPECT_NEAR(path.pointAtPercent(0.0).x(), 50.0, 0.01);
    EXPECT_NEAR(path.pointAtPercent(0.0).y(), 0.0, 0.01);
    EXPECT_NEAR(path.pointAtPercent(1.0).y(), 100.0, 0.01);
    // Drawn the usual way round it passes on the right, the other way on the left.
    EXPECT_NEAR(path.pointAtPercent(0.5).x(), clockwise ? 0.0 : 100.0, 0.01) << clockwise;
  }
}

TEST(RingTest, percent_table_with_gradient_and_end_cap) {
  const QSizeF area(100, 100);
  const struct {
    double fraction;
    double gradientStart;
    double gradientEnd;
    bool endCap;
  } cases[] = {
      {0.0, -90.0, -90.0, false}, {0.2, -90.0, -18.0, false}, {0.4, -90.0, 54.0, false},
      {0.6, -90.0, 126.0, false}, {0.8, -90.0, 198.0, false}, {1.0, -90.0, 270.0, true},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.fraction);
    const PercentageRing ring(10.0, entry.fraction, Qt::gray, {Qt::red, Qt::blue});
    EXPECT_NEAR(ring.percent(), entry.fraction * 100.0, tolerance);
    EXPECT_NEAR(ring.gradientStart(), entry.gradientStart, tolerance);
    EXPECT_NEAR(ring.gradientEnd(), entry.gradientEnd, tolerance);
    EXPECT_EQ(ring.endCap(area).has_value(), entry.endCap);
  }

  // At the full turn the cap sits where the ring starts, its shadow pushed sideways.
  const auto cap = PercentageRing(10.0, 1.0, Qt::gray, {Qt::red, Qt::blue}).endCap(area);
  ASSERT_TRUE(cap);
  EXPECT_EQ(cap->color, QColor(Qt::blue));
  EXPECT_NEAR(cap->offset.x(), 0.0, tolerance);
  EXPECT_NEAR(cap->offset.y(), -50.0, tolerance);
  EXPECT_NEAR(cap->shadowOffset.x(), 7.0, tolerance);
  EXPECT_NEAR(cap->shadowOffset.y(), 0.0, tolerance);
}

TEST(RingTest, the_end_cap_appears_once_the_gap_is_no_wider_than_the_ring) {
  const struct {
    double ringWidth;
    double fraction;
    QSizeF area;
    bool endCap;
  } cases[] = {
      // Half a ring leaves a gap of m / 2 * pi.
      {10.0, 0.5, QSizeF(6.0, 6.0), true},
      {10.0, 0.5, QSizeF(7.0, 7.0), false},
      // 355 degrees on a 100-point ring leave a gap of about 4.4 points.
      {10.0, 355.0 / 360.0, QSizeF(100, 100), true},
      {4.0, 355.0 / 360.0, QSizeF(100, 200), false},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.area.width());
    EXPECT_EQ(PercentageRing(entry.ringWidth, entry.fraction, Qt::gray, {Qt::red}).endCap(entry.area).has_value(),
              entry.endCap);
  }
  // Without foreground colours the cap is black.
  const auto cap = PercentageRing(8.0, 1.0, Qt::gray, {}).endCap(QSizeF(45, 45));
  ASSERT_TRUE(cap);
  EXPECT_EQ(cap->color, QColor(Qt::black));
}

// The ring painted on a transparent image of the widget's size, nothing of the window behind it.
QImage painted(PercentageRing& ring, QSize size) {
  ring.resize(size);
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  ring.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

TEST(RingTest, both_ends_of_the_arc_take_their_own_colour) {
  // A ring 80 across with 10-point strokes: the arc's middle line runs at radius 35 around (52, 52).
  PercentageRing ring(10.0, 0.5, Qt::transparent, {Qt::red, Qt::blue});
  const QImage image = painted(ring, PercentageRing::sizeFor(QSize(80, 80)));
  const struct {
    const char* name;
    QPoint point;
    QColor colour;
  } cases[] = {
      {"just behind the start, in its round cap", QPoint(49, 17), Qt::red},
      {"just after the start", QPoint(55, 17), Qt::red},
      {"just before the end", QPoint(55, 87), Qt::blue},
      {"just past the end, in its round cap", QPoint(49, 87), Qt::blue},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    const QColor found = image.pixelColor(entry.point);
    EXPECT_EQ(found.alpha(), 255);
    // Within the few steps the gradient moves over three points.
    EXPECT_NEAR(found.red(), entry.colour.red(), 8);
    EXPECT_NEAR(found.blue(), entry.colour.blue(), 8);
  }
}

TEST(RingTest, nothing_is_cut_off_at_the_edges_of_the_widget) {
  // Whatever is painted, the end cap's shadow included, ends inside the widget: its border stays clear.
  for (const double fraction : {0.5, 0.98, 1.0}) {
    SCOPED_TRACE(fraction);
    PercentageRing ring(8.0, fraction, Qt::gray, {Qt::red, Qt::blue});
    const QImage image = painted(ring, PercentageRing::sizeFor(QSize(45, 45)));
    for (int index = 0; index < image.width(); ++index) {
      for (const QPoint point :
           {QPoint(index, 0), QPoint(index, image.height() - 1), QPoint(0, index), QPoint(image.width() - 1, index)}) {
        ASSERT_EQ(image.pixelColor(point).alpha(), 0) << point.x() << ", " << point.y();
      }
    }
  }
}

TEST(RingTest, paints_at_every_size_and_colour_count) {
  for (const QList<QColor>& colours : {QList<QColor>{}, QList<QColor>{Qt::red}, QList<QColor>{Qt::red, Qt::blue}}) {
    for (const QSize size : {QSize(0, 0), QSize(4, 4), QSize(45, 45)}) {
      PercentageRing ring(8.0, 0.6, Qt::gray, colours);
      ring.resize(size);
      EXPECT_EQ(ring.grab().size(), size);
    }
  }
}

TEST(AboutViewTest, shows_the_version_the_credit_and_opens_the_backend_page_through_the_link) {
  const grellan_test::UrlRecorder recorder;
  grellan::AboutView view;
  EXPECT_EQ(view.size(), QSize(400, 200));
  EXPECT_FALSE(view.appVersion().isEmpty());
  EXPECT_EQ(view.findChild<QLabel*>("version")->text(), "Version " + view.appVersion());
  EXPECT_EQ(view.findChild<QLabel*>("credit")->text(), "Key events captured by ");
  // The key that opens settings here (the menu's shortcut).
  EXPECT_EQ(view.findChild<QLabel*>("hint")->text(), "Open settings by pressing Ctrl+,");

  auto* link = view.findChild<QLabel*>("link");
  const auto match = QRegularExpression("<a href=\"([^\"]+)\">([^<]+)</a>").match(link->text());
  ASSERT_TRUE(match.hasMatch());
  EXPECT_EQ(match.captured(2), "Hobbard");
  emit link->linkActivated(match.captured(1));
  ASSERT_EQ(recorder.opened().size(), 1);
  EXPECT_TRUE(recorder.opened().at(0).isValid());
  EXPECT_FALSE(recorder.opened().at(0).isRelative());
}

TEST(ActiveModificationsTest, lists_the_engines_names_and_asks_again_on_every_show) {
  grellan::GrellanKit_ kit;
  grellan::ActiveModifications fromEngine(kit);
  EXPECT_EQ(fromEngine.shownNames(), kit.kit().getModificationNames());
  EXPECT_EQ(fromEngine.size(), QSize(600, 400));

  QStringList names{"b", "a", "a"};
  grellan::ActiveModifications view([&names] { return names; });
  EXPECT_EQ(view.shownNames(), (QStringList{"b", "a", "a"}));
  names = {};
  view.show();
  // Nothing enabled: an empty list under its heading.
  EXPECT_EQ(view.shownNames(), QStringList{});
  EXPECT_EQ(view.findChild<QLabel*>("path")->text(), "See full list at ~/.config/hobbard/hobbard.json");
}

TEST(VimKeyPickerTest, offers_exactly_the_engines_key_names_and_writes_the_picked_one) {
  QString stored = "left_control";
  grellan::VimKeyPicker picker([&stored] { return stored; }, [&stored](const QString& key) { stored = key; });
  QStringList offered;
  for (int index = 0; index < picker.count(); ++index) {
    offered.append(picker.itemText(index));
  }
  EXPECT_EQ(offered, grellan::GRKGrellanKitKt::modifierKeys());
  EXPECT_EQ(picker.currentText(), "left_control");
  EXPECT_LE(picker.maximumWidth(), 200);

  const int capsLock = picker.findText("caps_lock");
  ASSERT_GE(capsLock, 0);
  emit picker.activated(capsLock);
  EXPECT_EQ(stored, "caps_lock");
}

TEST(VimKeyPickerTest, an_empty_list_or_an_unlisted_stored_key_selects_nothing_and_writes_nothing) {
  const struct {
    QStringList names;
    const char* stored;
  } cases[] = {{{}, "left_control"}, {{"right_shift"}, "hyper"}, {{"left_control"}, ""}};
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.stored);
    QString stored = entry.stored;
    int writes = 0;
    grellan::VimKeyPicker picker([&stored] { return stored; }, [&writes](const QString&) { ++writes; },
                                 [&entry] { return entry.names; });
    EXPECT_EQ(picker.count(), entry.names.size());
    EXPECT_EQ(picker.currentIndex(), -1);
    picker.reload();
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(stored, entry.stored);
  }
}

} // namespace
