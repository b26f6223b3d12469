#include "settings/SettingsWindow.hpp"

#include "services/DefaultsKeys.hpp"
#include "settings/GeneralSettingsView.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/Snapshot.hpp"
#include "support/app/settings_fixture.hpp"
#include "support/temporary_directory.hpp"

#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <filesystem>

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
  grellan::SettingsWindow& open() {
    delegate().windowManager().showSettings();
    auto* window = delegate().windowManager().settingsWindow();
    EXPECT_NE(window, nullptr);
    return *window;
  }
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

TEST_F(SettingsWindowTest, settings_open_on_the_first_request_and_the_same_window_comes_back_after_closing) {
  auto& first = open();
  EXPECT_TRUE(first.isVisible());
  first.close();
  auto& again = open();
  EXPECT_EQ(&again, &first);
  EXPECT_TRUE(again.isVisible());
  EXPECT_TRUE(delegate().applicationShouldHandleReopen(false));
  EXPECT_EQ(delegate().windowManager().settingsWindow(), &first);
}

TEST_F(SettingsWindowTest, snapshots_include_every_settings_tab) {
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
  EXPECT_FALSE(defaults().value(tutorialPassed));
}

} // namespace
