#include "settings/SettingsWindow.hpp"

#include "services/DefaultsKeys.hpp"
#include "settings/GeneralSettingsView.hpp"
#include "support/app/services/settings_fixture.hpp"

#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

using grellan::DefaultsKeys::tutorialPassed;

QStringList tabTitles(const grellan::SettingsWindow& window) {
  QStringList titles;
  for (int tab = 0; tab < window.tabs()->count(); ++tab) {
    titles.append(window.tabs()->tabText(tab));
  }
  return titles;
}

class SettingsWindowTest : public grellan_test::SettingsFixture {
protected:
  // Shown with a main menu above the tabs, as the application shows it.
  grellan::SettingsWindow& open() {
    if (!window_) {
      window_ = std::make_unique<grellan::SettingsWindow>(kit(), hobbard(), updater());
      window_->addMainMenu([](QMenuBar& menuBar) { menuBar.addMenu("grellan"); });
    }
    window_->show();
    return *window_;
  }

  std::unique_ptr<grellan::SettingsWindow> window_;
};

TEST_F(SettingsWindowTest, the_other_tabs_come_and_go_with_tutorial_passed_while_the_window_is_open) {
  auto& window = open();
  // The tabs' room, with the main menu above it.
  EXPECT_EQ(window.size(), QSize(500, 450 + window.menuBar()->height()));
  EXPECT_EQ(tabTitles(window), QStringList{"General"});
  EXPECT_FALSE(window.general()->settingsGroup()->isVisibleTo(&window));
  EXPECT_TRUE(window.general()->uninstallButton()->isVisibleTo(&window));

  defaults().setValue(tutorialPassed, true);
  EXPECT_EQ(tabTitles(window), (QStringList{"General", "Indicator", "Widgets", "Rules"}));
  EXPECT_TRUE(window.general()->settingsGroup()->isVisibleTo(&window));

  defaults().setValue(tutorialPassed, false);
  EXPECT_EQ(tabTitles(window), QStringList{"General"});
  EXPECT_FALSE(window.general()->settingsGroup()->isVisibleTo(&window));
}

} // namespace
