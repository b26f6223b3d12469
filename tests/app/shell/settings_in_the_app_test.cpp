#include "shell/GrellanApp.hpp"

#include "indicator/IndicatorImageView.hpp"
#include "indicator/IndicatorWindow.hpp"
#include "platform/FontConfiguration.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/Widget.hpp"
#include "settings/GeneralSettingsView.hpp"
#include "settings/IndicatorSettingsView.hpp"
#include "settings/RulesSettings.hpp"
#include "settings/SettingsWindow.hpp"
#include "settings/WidgetSettingsView.hpp"
#include "shell/Snapshot.hpp"
#include "support/app/platform/widgets.hpp"
#include "support/app/services/settings_fixture.hpp"
#include "support/temporary_directory.hpp"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

namespace keys = grellan::DefaultsKeys;

// The settings in the running application (not launched), beside its indicator, menus and tray icon.
class SettingsInTheAppTest : public grellan_test::SettingsFixture {
protected:
  grellan::GrellanApp& app() {
    if (!app_) {
      app_ = std::make_unique<grellan::GrellanApp>(output_, grellan::loadFontConfiguration());
    }
    return *app_;
  }
  grellan::AppDelegate& delegate() { return app().appDelegate(); }

  grellan::SettingsWindow& open() {
    delegate().windowManager().showSettings();
    auto* window = delegate().windowManager().settingsWindow();
    EXPECT_NE(window, nullptr);
    return *window;
  }

private:
  std::unique_ptr<grellan::GrellanApp> app_;
};

TEST_F(SettingsInTheAppTest, the_icon_style_stores_both_keys_in_one_step_and_shows_or_hides_the_tray_icon) {
  defaults().setValue(keys::tutorialPassed, true);
  // Shown while nothing is stored.
  ASSERT_TRUE(app().menuBarExtraShown());
  grellan::GeneralSettingsView tab(delegate().kit(), delegate().hobbard(), delegate().updater());
  tab.show();
  const struct {
    const char* style;
    bool menuBarEnabled;
  } cases[] = {{"Hidden", false}, {"Menu bar", true}, {"Hidden", false}};
  for (const auto& step : cases) {
    grellan_test::pick(*tab.iconStylePicker(), step.style);
    EXPECT_EQ(defaults().stringValue(keys::iconStyle), step.style);
    EXPECT_EQ(defaults().boolValue(keys::menuBarEnabled), step.menuBarEnabled) << step.style;
    EXPECT_EQ(app().menuBarExtraShown(), step.menuBarEnabled) << step.style;
  }
}

TEST_F(SettingsInTheAppTest, choosing_a_location_stores_its_number_and_the_indicator_moves_at_once) {
  grellan::IndicatorSettingsView tab;
  tab.show();
  delegate().windowManager().showIndicatorWindow();
  auto* indicator = delegate().windowManager().indicatorWindow();
  QTest::mouseClick(tab.locationGroup()->button(5), Qt::LeftButton);
  EXPECT_EQ(defaults().value(keys::indicatorLocation), QVariant(5));
  EXPECT_EQ(indicator->indicatorLocation(), grellan::IndicatorLocation::bottomRight);
  EXPECT_EQ(tab.locationGroup()->checkedId(), 5);
  // The tutorial's location page writes the same key: the tab follows.
  defaults().setValue(keys::indicatorLocation, 3);
  EXPECT_EQ(tab.locationGroup()->checkedId(), 3);
}

TEST_F(SettingsInTheAppTest, the_sliders_store_values_within_zero_and_one_and_the_indicator_fades_and_resizes) {
  grellan::IndicatorSettingsView tab;
  tab.show();
  delegate().windowManager().showIndicatorWindow();
  auto* indicator = delegate().windowManager().indicatorWindow();
  const QSizeF middle = indicator->frameSize();
  const struct {
    const char* name;
    Qt::Key key;
    double stored;
  } cases[] = {
      {"left end", Qt::Key_Home, 0.0}, {"right end", Qt::Key_End, 1.0}, {"one step down", Qt::Key_Left, 0.999}};
  for (const auto& step : cases) {
    QTest::keyClick(tab.alphaSlider(), step.key);
    QTest::keyClick(tab.sizeSlider(), step.key);
    const auto alpha = defaults().doubleValue(keys::indicatorAlpha);
    const auto size = defaults().doubleValue(keys::indicatorSize);
    ASSERT_TRUE(alpha && size) << step.name;
    EXPECT_DOUBLE_EQ(*alpha, step.stored) << step.name;
    EXPECT_DOUBLE_EQ(*size, step.stored) << step.name;
    EXPECT_NEAR(indicator->windowOpacity(), step.stored, 0.01) << step.name;
    EXPECT_DOUBLE_EQ(indicator->scale(), step.stored) << step.name;
  }
  QTest::keyClick(tab.sizeSlider(), Qt::Key_End);
  EXPECT_GT(indicator->frameSize().width(), middle.width());
}

TEST_F(SettingsInTheAppTest, a_chosen_widget_is_stored_as_its_text_and_the_indicator_shows_it) {
  grellan::WidgetSettingsView tab;
  tab.show();
  delegate().windowManager().showIndicatorWindow();
  grellan_test::pick(*tab.topPicker(), "Selected lines count");
  grellan_test::pick(*tab.bottomPicker(), "Time");
  EXPECT_EQ(defaults().value(keys::topWidget), QVariant("Selected lines count"));
  EXPECT_EQ(defaults().value(keys::bottomWidget), QVariant("Time"));
  EXPECT_EQ(tab.topPicker()->currentText(), "Selected lines count");
  auto& widgets = delegate().windowManager().indicatorWindow()->imageView()->widgets();
  EXPECT_EQ(widgets.topWidget, grellan::Widget::LineCount);
  EXPECT_EQ(widgets.bottomWidget, grellan::Widget::Time);
}

TEST_F(SettingsInTheAppTest, the_button_of_the_settings_window_shows_the_active_modifications) {
  defaults().setValue(keys::tutorialPassed, true);
  auto* rules = open().findChild<grellan::RulesSettings*>();
  ASSERT_NE(rules, nullptr);
  EXPECT_EQ(rules->showActiveModificationsButton()->text(), "Show active modifications");
  QTest::mouseClick(rules->showActiveModificationsButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_NE(delegate().windowManager().activeModificationsWindow(), nullptr);
  EXPECT_TRUE(delegate().windowManager().activeModificationsWindow()->isVisible());
}

TEST_F(SettingsInTheAppTest, settings_open_on_the_first_request_and_the_same_window_comes_back_after_closing) {
  auto& first = open();
  EXPECT_TRUE(first.isVisible());
  first.close();
  auto& again = open();
  EXPECT_EQ(&again, &first);
  EXPECT_TRUE(again.isVisible());
  EXPECT_TRUE(delegate().applicationShouldHandleReopen(false));
  EXPECT_EQ(delegate().windowManager().settingsWindow(), &first);
}

TEST_F(SettingsInTheAppTest, snapshots_include_every_settings_tab) {
  hbd_test::temporary_directory folder;
  const QString path = QString::fromStdString(folder.path().string());
  const auto written = grellan::writeSnapshots(delegate().windowManager(), path);
  ASSERT_TRUE(written);
  for (const char* tab : {"general", "indicator", "widgets", "rules"}) {
    const QString file = path + "/settings-" + tab + ".png";
    EXPECT_TRUE(written->contains(file)) << tab;
    EXPECT_TRUE(std::filesystem::exists(file.toStdString())) << tab;
  }
  // With the main menu at the top, as settings show it.
  grellan::SettingsWindow window(delegate().kit(), delegate().hobbard(), delegate().updater());
  window.addMainMenu([this](QMenuBar& menuBar) { delegate().windowManager().menuItems().addTo(menuBar); });
  window.show();
  const QImage menuBar = window.menuBar()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = QImage(path + "/settings-general.png").convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.copy(window.menuBar()->geometry()), menuBar);
  // The menu bar comes on top of the tabs' room, not out of it.
  EXPECT_EQ(picture.size(), QSize(grellan::SettingsWindow::width, grellan::SettingsWindow::height + menuBar.height()));
  // The pictures leave the user's own settings alone.
  EXPECT_FALSE(defaults().value(keys::tutorialPassed));
}

} // namespace
