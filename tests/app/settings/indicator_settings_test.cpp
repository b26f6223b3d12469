#include "settings/IndicatorSettingsView.hpp"

#include "services/DefaultsKeys.hpp"
#include "support/app/services/settings_fixture.hpp"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QLayout>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

namespace keys = grellan::DefaultsKeys;

class IndicatorSettingsTest : public grellan_test::SettingsFixture {
protected:
  grellan::IndicatorSettingsView& tab() {
    view_.show();
    return view_;
  }

  // The raw value of the one chosen option; -1 when none is.
  int chosenLocation() { return view_.locationGroup()->checkedId(); }

  grellan::IndicatorSettingsView view_;
};

TEST_F(IndicatorSettingsTest, without_stored_values_top_middle_is_chosen_and_the_sliders_stand_at_their_defaults) {
  QStringList labels;
  for (QAbstractButton* option : tab().locationGroup()->buttons()) {
    labels.append(option->text());
  }
  EXPECT_EQ(labels,
            (QStringList{"top left", "top middle", "top right", "bottom left", "bottom middle", "bottom right"}));
  EXPECT_EQ(chosenLocation(), 1);
  EXPECT_EQ(tab().alphaSlider()->value(), tab().alphaSlider()->maximum());
  EXPECT_EQ(tab().sizeSlider()->value(), tab().sizeSlider()->maximum() / 2);
  EXPECT_FALSE(defaults().value(keys::indicatorLocation));
  EXPECT_FALSE(defaults().value(keys::indicatorAlpha));
  EXPECT_FALSE(defaults().value(keys::indicatorSize));
}

TEST_F(IndicatorSettingsTest, stored_values_of_the_wrong_type_or_range_show_the_defaults_or_the_nearest_end) {
  const struct {
    const char* name;
    QVariant location;
    QVariant alpha;
    QVariant size;
    int chosenLocation;
    double alphaShown;
    double sizeShown;
  } cases[] = {
      {"text", QVariant("somewhere"), QVariant("opaque"), QVariant("large"), 1, 1.0, 0.5},
      {"list", QVariant(QStringList{"1"}), QVariant(QStringList{}), QVariant(QVariantMap{}), 1, 1.0, 0.5},
      {"out of range", QVariant(99), QVariant(7.5), QVariant(-3.0), -1, 1.0, 0.0},
      {"not a number", QVariant(-1), QVariant(std::nan("")), QVariant(std::nan("")), -1, 1.0, 0.5},
      {"text of a number", QVariant("4"), QVariant("0.25"), QVariant("0.75"), 4, 0.25, 0.75},
  };
  for (const auto& stored : cases) {
    defaults().setValue(keys::indicatorLocation, stored.location);
    defaults().setValue(keys::indicatorAlpha, stored.alpha);
    defaults().setValue(keys::indicatorSize, stored.size);
    EXPECT_EQ(chosenLocation(), stored.chosenLocation) << stored.name;
    EXPECT_EQ(tab().alphaSlider()->value(), std::lround(stored.alphaShown * tab().alphaSlider()->maximum()))
        << stored.name;
    EXPECT_EQ(tab().sizeSlider()->value(), std::lround(stored.sizeShown * tab().sizeSlider()->maximum()))
        << stored.name;
  }
}

TEST_F(IndicatorSettingsTest, the_slider_rows_take_up_to_250_wide_in_the_middle) {
  for (const int width : {500, 200}) {
    SCOPED_TRACE(width);
    tab().resize(width, 450);
    QCoreApplication::processEvents();
    for (const QString& key : {keys::indicatorAlpha, keys::indicatorSize}) {
      const auto* row = tab().findChild<QWidget*>(key + "Row");
      ASSERT_NE(row, nullptr);
      const QRect geometry(row->mapTo(&tab(), QPoint(0, 0)), row->size());
      const int margins = tab().layout()->contentsMargins().left() + tab().layout()->contentsMargins().right();
      EXPECT_NEAR(geometry.width(), std::min(250, width - margins), 2);
      EXPECT_NEAR(geometry.center().x(), width / 2, 2);
    }
  }
}

} // namespace
