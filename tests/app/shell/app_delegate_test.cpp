#include "shell/AppDelegate.hpp"
#include "shell/GrellanApp.hpp"

#include "platform/FontConfiguration.hpp"
#include "platform/Screens.hpp"
#include "platform/engine/GRKGrellanKit.hpp"
#include "services/DefaultsKeys.hpp"
#include "support/app/platform/scoped_defaults.hpp"
#include "support/launch_agents.hpp"

#include "libhbd.h"
#include "platform/command/command.hpp"

#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using grellan::AppDelegate;
using grellan::DefaultsKeys::tutorialPassed;

std::filesystem::path configurationFile() {
  return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard/hobbard.json";
}

std::string read(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class AppDelegateTest : public testing::Test {
protected:
  void TearDown() override { std::filesystem::remove_all(configurationFile().parent_path()); }

  grellan_test::ScopedMemoryDefaults defaults_;
  std::ostringstream output_;
};

TEST_F(AppDelegateTest, a_first_launch_opens_the_tutorial_and_starts_no_agent) {
  platform::command::recorder commands;
  AppDelegate delegate(output_);
  EXPECT_EQ(grellan::appDelegate(), &delegate);
  delegate.applicationDidFinishLaunching();

  EXPECT_TRUE(commands.commands().empty());
  ASSERT_NE(delegate.windowManager().tutorialWindow(), nullptr);
  EXPECT_TRUE(delegate.windowManager().tutorialWindow()->isVisible());
  EXPECT_EQ(delegate.windowManager().tutorialWindow()->windowTitle(), "grellan setup");
  EXPECT_EQ(delegate.windowManager().indicatorWindow(), nullptr);
}

TEST_F(AppDelegateTest, a_later_launch_starts_the_server_and_the_session_monitor_then_the_indicator) {
  defaults_.defaults().setValue(tutorialPassed, true);
  platform::command::recorder commands;
  AppDelegate delegate(output_);
  delegate.applicationDidFinishLaunching();

  auto expected = hbd_test::launch_agent_start_lines(hbd_test::console_user_server);
  for (const auto& line : hbd_test::launch_agent_start_lines(hbd_test::session_monitor)) {
    expected.push_back(line);
  }
  EXPECT_EQ(commands.commands(), expected);
  EXPECT_EQ(delegate.windowManager().tutorialWindow(), nullptr);
  ASSERT_NE(delegate.windowManager().indicatorWindow(), nullptr);
  EXPECT_TRUE(delegate.windowManager().indicatorWindow()->isVisible());

  delegate.applicationWillTerminate();
  for (const auto& line : hbd_test::launch_agent_stop_lines(hbd_test::console_user_server)) {
    expected.push_back(line);
  }
  EXPECT_EQ(commands.commands(), expected);
}

TEST_F(AppDelegateTest, reopening_shows_settings_and_answers_true_whatever_is_visible) {
  AppDelegate delegate(output_);
  EXPECT_TRUE(delegate.applicationShouldHandleReopen(true));
  EXPECT_TRUE(delegate.applicationShouldHandleReopen(false));
  ASSERT_NE(delegate.windowManager().settingsWindow(), nullptr);
  EXPECT_TRUE(delegate.windowManager().settingsWindow()->isVisible());
  EXPECT_TRUE(delegate.applicationShouldOpenUntitledFile());
}

TEST_F(AppDelegateTest, start_up_saves_the_backend_configuration_once) {
  { AppDelegate delegate(output_); }
  EXPECT_TRUE(std::filesystem::exists(configurationFile()));
  EXPECT_STREQ(libhbd_core_configuration_get_save_error_message(), "");
}

TEST_F(AppDelegateTest, a_corrupt_configuration_file_stays_byte_for_byte_and_the_application_runs) {
  std::filesystem::create_directories(configurationFile().parent_path());
  const std::string corrupt = "{\"profiles\": [ {\"name\": \"Default\", ";
  std::ofstream(configurationFile(), std::ios::binary) << corrupt;

  AppDelegate delegate(output_);
  delegate.applicationDidFinishLaunching();
  EXPECT_EQ(read(configurationFile()), corrupt);
  EXPECT_NE(delegate.windowManager().tutorialWindow(), nullptr);
}

TEST_F(AppDelegateTest, show_hide_closes_and_forgets_the_indicator_then_makes_a_new_one) {
  AppDelegate delegate(output_);
  auto& windows = delegate.windowManager();
  windows.showIndicatorWindow();
  const auto* first = windows.indicatorWindow();
  windows.showIndicatorWindow();
  EXPECT_EQ(windows.indicatorWindow(), first);
  windows.showHideIndicatorWindow();
  EXPECT_EQ(windows.indicatorWindow(), nullptr);
  windows.showHideIndicatorWindow();
  ASSERT_NE(windows.indicatorWindow(), nullptr);
  EXPECT_TRUE(windows.indicatorWindow()->isVisible());
}

TEST(AppDelegateScreen, the_widest_screen_first_listed_among_equals_and_an_empty_frame_without_screens) {
  struct ScreenCase {
    const char* name;
    std::vector<QRect> frames;
    QRect expected;
  };
  const ScreenCase cases[] = {
      {"one", {QRect(0, 0, 1440, 900)}, QRect(0, 0, 1440, 900)},
      {"widest second", {QRect(0, 0, 1440, 900), QRect(1440, 0, 2560, 1440)}, QRect(1440, 0, 2560, 1440)},
      {"equal widths", {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1200)}, QRect(0, 0, 1920, 1080)},
      {"none", {}, QRect()},
  };
  auto previous = grellan::Screens::setShared(std::make_unique<grellan::FixedScreens>(std::vector<QRect>{}));
  for (const auto& screenCase : cases) {
    SCOPED_TRACE(screenCase.name);
    grellan::Screens::setShared(std::make_unique<grellan::FixedScreens>(screenCase.frames));
    EXPECT_EQ(AppDelegate::screen(), screenCase.expected);
  }
  grellan::Screens::setShared(std::move(previous));
}

TEST(GrellanApp, starts_the_engine_before_the_delegate_and_follows_menu_bar_enabled) {
  grellan_test::ScopedMemoryDefaults defaults;
  std::ostringstream output;
  defaults.defaults().setValue(grellan::DefaultsKeys::menuBarEnabled, false);
  grellan::GrellanApp app(output, grellan::loadFontConfiguration());
  EXPECT_TRUE(grellan::GRKKoinKt::initialized());
  EXPECT_EQ(grellan::appDelegate(), &app.appDelegate());
  EXPECT_FALSE(app.menuBarEnabled());
  EXPECT_FALSE(app.menuBarExtraShown());

  // Shown although the offscreen platform has no tray: a tray that starts later still gets the icon.
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  defaults.defaults().setValue(grellan::DefaultsKeys::menuBarEnabled, true);
  EXPECT_TRUE(app.menuBarExtraShown());
  defaults.defaults().remove(grellan::DefaultsKeys::menuBarEnabled);
  EXPECT_TRUE(app.menuBarEnabled());
}

TEST(GrellanApp, a_click_on_the_menu_bar_extra_opens_its_menu) {
  grellan_test::ScopedMemoryDefaults defaults;
  std::ostringstream output;
  grellan::GrellanApp app(output, grellan::loadFontConfiguration());
  ASSERT_NE(app.menuBarExtra(), nullptr);
  const struct {
    QSystemTrayIcon::ActivationReason reason;
    bool opens;
  } cases[] = {
      {QSystemTrayIcon::DoubleClick, false}, {QSystemTrayIcon::MiddleClick, false}, {QSystemTrayIcon::Trigger, true}};
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.reason);
    emit app.menuBarExtra()->activated(entry.reason);
    EXPECT_EQ(app.appMenu()->isVisible(), entry.opens);
  }
  app.appMenu()->hide();
}

} // namespace
