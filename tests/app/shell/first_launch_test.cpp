#include "shell/GrellanApp.hpp"

#include "platform/FontConfiguration.hpp"
#include "services/DefaultsKeys.hpp"
#include "shell/Snapshot.hpp"
#include "support/app/platform/wait.hpp"
#include "support/app/platform/widgets.hpp"
#include "support/app/services/backend_files.hpp"
#include "support/app/services/fresh_launch_fixture.hpp"
#include "support/app/tutorial/tutorial_pages.hpp"
#include "support/file_writer_process.hpp"
#include "support/files.hpp"
#include "support/launch_agents.hpp"
#include "support/temporary_directory.hpp"
#include "tutorial/ChooseIndicatorLocation.hpp"
#include "tutorial/ChooseVimKey.hpp"
#include "tutorial/Finished.hpp"
#include "tutorial/FirstStep.hpp"
#include "tutorial/Tutorial.hpp"
#include "views/AboutView.hpp"
#include "views/IndicatorLocationPicker.hpp"
#include "views/VimKeyPicker.hpp"

#include "platform/command/command.hpp"

#include <QButtonGroup>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using grellan::Tutorial;
using grellan_test::buttons;
using grellan_test::click;
using grellan_test::follow;
using grellan_test::pageAs;
using grellan_test::settledPercent;
using grellan_test::showsImage;
using grellan_test::stateFile;
using grellan_test::texts;
using grellan_test::waitUntil;
namespace keys = grellan::DefaultsKeys;

const std::string observerState = "hobbard_observer_state.json";

std::vector<std::string> agentStartLines() {
  auto lines = hbd_test::launch_agent_start_lines(hbd_test::console_user_server);
  for (const auto& line : hbd_test::launch_agent_start_lines(hbd_test::session_monitor)) {
    lines.push_back(line);
  }
  return lines;
}

// The whole application on a fresh first launch.
class FirstLaunchTest : public grellan_test::FreshLaunchFixture {
protected:
  void stop() override { app_.reset(); }
  void launch(std::ostream& output) override {
    app_ = std::make_unique<grellan::GrellanApp>(output, grellan::loadFontConfiguration());
  }
  grellan::GrellanKit_& kit() override { return delegate().kit(); }
  grellan::Hobbard& hobbard() override { return delegate().hobbard(); }

  grellan::AppDelegate& delegate() { return app_->appDelegate(); }

private:
  std::unique_ptr<grellan::GrellanApp> app_;
};

TEST_F(FirstLaunchTest, a_first_launch_walks_through_the_whole_tutorial_and_the_next_launch_takes_the_indicator_road) {
  start();
  platform::command::recorder commands;
  delegate().applicationDidFinishLaunching();
  auto* tutorial = qobject_cast<Tutorial*>(delegate().windowManager().tutorialWindow());
  ASSERT_NE(tutorial, nullptr);
  EXPECT_TRUE(tutorial->isVisible());
  EXPECT_EQ(tutorial->windowTitle(), "grellan setup");
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 0.0);
  EXPECT_EQ(texts(*tutorial), (QStringList{"Welcome to grellan!", "Let's set up this mac."}));
  EXPECT_EQ(buttons(*tutorial), QStringList{"Continue"});

  // The backend says: no driver, no permission to read the keyboard.
  const std::string observer = stateFile(observerState).string();
  ASSERT_TRUE(hbd_test::file_writer_process::run(
      {"replace", observer, R"({"driver_loaded": false, "hid_device_open_permitted": false})"}));
  ASSERT_TRUE(waitUntil([&] { return hobbard().driverNotLoaded() && hobbard().inputMonitoringNotPermitted(); }));

  click(*tutorial, "Continue");
  EXPECT_EQ(tutorial->tutorialStep(), 1);
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 20.0);
  click(*tutorial, "Back");
  EXPECT_EQ(tutorial->tutorialStep(), 0);
  EXPECT_NE(pageAs<Tutorial::FirstStep>(*tutorial), nullptr);
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 0.0);
  click(*tutorial, "Continue");
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 20.0);
  EXPECT_EQ(buttons(*tutorial), (QStringList{"Activate VirtualHIDDevice-Manager", "Back"}));
  EXPECT_TRUE(texts(*tutorial).contains("First, \".Hobbard-VirtualHIDDevice-Manager\" needs to be activated"));
  EXPECT_EQ(follow(*tutorial, "Hobbard"), grellan::AboutView::backendHomePage());

  // The user refuses the activation: the instructions stay, and so does the missing driver.
  grellan_test::installActivationApp(1);
  QSignalSpy activated(&hobbard(), &grellan::Hobbard::driverNotLoadedChanged);
  click(*tutorial, "Activate VirtualHIDDevice-Manager");
  EXPECT_EQ(buttons(*tutorial), QStringList{"Back"});
  EXPECT_TRUE(showsImage(*tutorial, "dext-allow"));
  ASSERT_TRUE(waitUntil([&] { return activated.count() == 1; }));
  EXPECT_EQ(grellan_test::activationArgument(), "activate");
  EXPECT_TRUE(hobbard().driverNotLoaded());
  EXPECT_TRUE(texts(*tutorial).contains("This process needs to be allowed in Security & Privacy System Preferences"));

  // The user allows the driver and the backend reports it loaded: the page moves on by itself.
  ASSERT_TRUE(hbd_test::file_writer_process::run(
      {"replace", observer, R"({"driver_loaded": true, "hid_device_open_permitted": false})"}));
  ASSERT_TRUE(waitUntil([&] { return buttons(*tutorial) == QStringList{"Continue", "Back"}; }));
  EXPECT_TRUE(texts(*tutorial).contains("\".Hobbard-VirtualHIDDevice-Manager\" enabled"));
  EXPECT_TRUE(commands.commands().empty());

  click(*tutorial, "Continue");
  EXPECT_EQ(commands.commands(), agentStartLines());
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 40.0);
  EXPECT_EQ(buttons(*tutorial), QStringList{"Back"});
  EXPECT_TRUE(showsImage(*tutorial, "input_monitoring"));
  EXPECT_EQ(delegate().windowManager().indicatorWindow(), nullptr);

  ASSERT_TRUE(hbd_test::file_writer_process::run(
      {"replace", observer, R"({"driver_loaded": true, "hid_device_open_permitted": true})"}));
  ASSERT_TRUE(waitUntil([&] { return buttons(*tutorial) == QStringList{"Continue", "Back"}; }));
  EXPECT_TRUE(texts(*tutorial).contains("\"hobbard_grabber\" and \"hobbard_observer\" enabled"));
  click(*tutorial, "Continue");
  ASSERT_NE(delegate().windowManager().indicatorWindow(), nullptr);
  EXPECT_TRUE(delegate().windowManager().indicatorWindow()->isVisible());
  EXPECT_EQ(commands.commands(), agentStartLines());

  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 60.0);
  auto* location = pageAs<Tutorial::ChooseIndicatorLocation>(*tutorial);
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(location->picker()->group()->checkedId(), 1);
  QTest::mouseClick(location->picker()->group()->button(5), Qt::LeftButton);
  EXPECT_EQ(defaults().integerValue(keys::indicatorLocation), 5);
  EXPECT_EQ(delegate().windowManager().indicatorWindow()->indicatorLocation(), grellan::IndicatorLocation::bottomRight);

  engine().setVimKeyVimKey("marker");
  click(*tutorial, "Continue");
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 80.0);
  EXPECT_EQ(engine().vimKey(), "left_control");
  auto* vimKey = pageAs<Tutorial::ChooseVimKey>(*tutorial);
  ASSERT_NE(vimKey, nullptr);
  grellan_test::pick(*vimKey->picker(), "right_shift");
  EXPECT_EQ(defaults().stringValue(keys::vimKey), "right_shift");
  EXPECT_EQ(engine().vimKey(), "right_shift");

  click(*tutorial, "Continue");
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 100.0);
  EXPECT_EQ(sounds(), QStringList{"Hero"});
  EXPECT_TRUE(texts(*tutorial).contains("Use <b>right_shift</b> to switch between normal/insert modes."));
  EXPECT_EQ(follow(*tutorial, "OpenVim tutorial"), Tutorial::Finished::openVimTutorial());
  EXPECT_EQ(buttons(*tutorial), (QStringList{"Finish", "Back"}));

  click(*tutorial, "Finish");
  EXPECT_EQ(defaults().boolValue(keys::tutorialPassed), true);
  EXPECT_FALSE(tutorial->isVisible());
  EXPECT_EQ(tutorial->tutorialStep(), 0);
  EXPECT_NE(pageAs<Tutorial::FirstStep>(*tutorial), nullptr);
  EXPECT_DOUBLE_EQ(settledPercent(*tutorial), 0.0);
  EXPECT_EQ(commands.commands(), agentStartLines());

  // The next launch starts the agents and shows the indicator instead.
  start();
  platform::command::recorder relaunch;
  delegate().applicationDidFinishLaunching();
  EXPECT_EQ(relaunch.commands(), agentStartLines());
  EXPECT_EQ(delegate().windowManager().tutorialWindow(), nullptr);
  ASSERT_NE(delegate().windowManager().indicatorWindow(), nullptr);
  EXPECT_TRUE(delegate().windowManager().indicatorWindow()->isVisible());
}

TEST_F(FirstLaunchTest, snapshots_include_every_tutorial_page_and_leave_settings_sounds_and_the_engine_alone) {
  // A Vim key of the user's own: the tutorial's page for it hands the engine another one.
  defaults().setValue(keys::vimKey, "caps_lock");
  start();
  const std::string engineFile = grellan::GRKJsonManager::filePath().toStdString();
  const std::string engineBefore = hbd_test::read_file(engineFile);
  ASSERT_NE(engineBefore.find("caps_lock"), std::string::npos);
  hbd_test::temporary_directory folder;
  const QString path = QString::fromStdString(folder.path().string());
  const QStringList written = grellan::writeSnapshots(delegate().windowManager(), path).value_or(QStringList{});
  for (const char* page : {"0-welcome", "1-activate", "1-allow", "1-enabled", "2-input-monitoring", "2-enabled",
                           "3-location", "4-vim-key", "5-finished"}) {
    const QString file = path + "/tutorial-" + page + ".png";
    EXPECT_TRUE(written.contains(file)) << page;
    EXPECT_TRUE(std::filesystem::exists(file.toStdString())) << page;
  }
  EXPECT_TRUE(sounds().isEmpty());
  EXPECT_FALSE(defaults().value(keys::tutorialPassed));
  EXPECT_EQ(defaults().stringValue(keys::vimKey), "caps_lock");
  EXPECT_EQ(hbd_test::read_file(engineFile), engineBefore);
  EXPECT_EQ(engine().vimKey(), "caps_lock");
}

} // namespace
