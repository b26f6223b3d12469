#include "tutorial/Tutorial.hpp"

#include "platform/SoundPlayer.hpp"
#include "services/DefaultsKeys.hpp"
#include "services/LaunchAtLogin.hpp"
#include "shell/GrellanApp.hpp"
#include "shell/Snapshot.hpp"
#include "support/app/backend_files.hpp"
#include "support/app/indicator_fixture.hpp"
#include "support/app/settings_fixture.hpp"
#include "support/app/url_recorder.hpp"
#include "support/app/wait.hpp"
#include "support/file_writer_process.hpp"
#include "support/launch_agents.hpp"
#include "support/temporary_directory.hpp"
#include "tutorial/ChooseIndicatorLocation.hpp"
#include "tutorial/ChooseVimKey.hpp"
#include "tutorial/EnableHobbardDaemons.hpp"
#include "tutorial/EnableVirtualHIDDevice.hpp"
#include "tutorial/Finished.hpp"
#include "tutorial/FirstStep.hpp"
#include "views/AboutView.hpp"
#include "views/IndicatorLocationPicker.hpp"
#include "views/PercentageRing.hpp"
#include "views/VimKeyPicker.hpp"

#include "platform/command/command.hpp"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

namespace {

using grellan::Tutorial;
using grellan_test::stateFile;
using grellan_test::waitUntil;
namespace keys = grellan::DefaultsKeys;

const std::string observerState = "hobbard_observer_state.json";

// The texts of the widgets of that kind a user sees, in their order.
template <typename Widget>
QStringList shown(const QWidget& root) {
  QStringList result;
  for (const Widget* widget : root.findChildren<Widget*>()) {
    if (widget->isVisibleTo(&root)) {
      result.append(widget->text());
    }
  }
  return result;
}

QStringList buttons(const QWidget& root) { return shown<QPushButton>(root); }
QStringList texts(const QWidget& root) { return shown<QLabel>(root); }

bool showsImage(const QWidget& root, const QString& name) {
  const auto images = root.findChildren<QWidget*>(name);
  return std::any_of(images.begin(), images.end(), [&root](const QWidget* image) { return image->isVisibleTo(&root); });
}

void click(QWidget& root, const QString& title) {
  for (QPushButton* button : root.findChildren<QPushButton*>()) {
    if (button->isVisibleTo(&root) && button->text() == title) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  ADD_FAILURE() << "no button " << title.toStdString() << " among " << buttons(root).join(", ").toStdString();
}

// Activates the link with this title and returns the address it opened.
QUrl follow(QWidget& root, const QString& title) {
  grellan_test::UrlRecorder recorder;
  for (QLabel* label : root.findChildren<QLabel*>()) {
    const auto link = QRegularExpression("<a href=\"([^\"]+)\">([^<]+)</a>").match(label->text());
    if (label->isVisibleTo(&root) && link.hasMatch() && link.captured(2) == title) {
      emit label->linkActivated(link.captured(1));
    }
  }
  return recorder.opened().size() == 1 ? recorder.opened().front() : QUrl();
}

// Waits for the step's animations to end and returns the ring's percentage.
double settledPercent(const Tutorial& tutorial) {
  EXPECT_TRUE(waitUntil([&] { return !tutorial.animating(); }));
  return tutorial.ring()->percent();
}

template <typename Page>
Page* pageAs(const Tutorial& tutorial) {
  return dynamic_cast<Page*>(tutorial.page());
}

std::vector<std::string> agentStartLines() {
  auto lines = hbd_test::launch_agent_start_lines(hbd_test::console_user_server);
  for (const auto& line : hbd_test::launch_agent_start_lines(hbd_test::session_monitor)) {
    lines.push_back(line);
  }
  return lines;
}

// A fresh first launch: in-memory user defaults, one screen, no backend files, silent sounds.
class TutorialTest : public grellan_test::IndicatorFixture {
protected:
  TutorialTest() : previousSounds_(grellan::SoundPlayer::setShared(std::make_unique<grellan::RecordingSoundPlayer>())) {
    std::filesystem::create_directories(stateFile("").parent_path());
    QFile::remove(grellan::GRKJsonManager::filePath());
  }

  ~TutorialTest() override {
    tutorial_.reset();
    app_.reset();
    grellan::SoundPlayer::setShared(std::move(previousSounds_));
    const std::filesystem::path root = std::getenv("HBD_SYSTEM_ROOT");
    std::filesystem::remove_all(root / "Library");
    std::filesystem::remove_all(root / "Applications");
    std::filesystem::remove_all(std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard");
    QFile::remove(grellan::GRKJsonManager::filePath());
    grellan::LaunchAtLogin::unregisterApp();
  }

  // Starts the application and waits for the backend's first report of each state file.
  grellan::GrellanApp& start() {
    app_.reset();
    output_.str("");
    app_ = std::make_unique<grellan::GrellanApp>(output_);
    EXPECT_TRUE(waitUntil([this] { return updates() == 2; }));
    return *app_;
  }

  std::size_t updates() const {
    const std::string text = output_.str();
    std::size_t found = 0;
    for (auto at = text.find("on hobbard update: "); at != std::string::npos;
         at = text.find("on hobbard update: ", at + 1)) {
      ++found;
    }
    return found;
  }

  grellan::AppDelegate& delegate() { return app_->appDelegate(); }
  grellan::Hobbard& hobbard() { return delegate().hobbard(); }
  grellan::GRKGrellanKit& engine() { return delegate().kit().kit(); }
  const QStringList& sounds() {
    return static_cast<grellan::RecordingSoundPlayer&>(grellan::SoundPlayer::shared()).played();
  }

  // A tutorial of its own, outside the application's window, on the given step.
  Tutorial& tutorialAt(int step) {
    if (!app_) {
      start();
    }
    if (!tutorial_) {
      tutorial_ = std::make_unique<Tutorial>(delegate().kit(), hobbard());
      tutorial_->show();
    }
    tutorial_->setTutorialStep(step);
    return *tutorial_;
  }

  // The backend's state as this process reads it, without waiting for the file monitor.
  void report(const std::string& content) {
    const auto path = stateFile("report.json");
    std::ofstream(path) << content;
    hobbard().update(QString::fromStdString(path.string()));
  }

  std::ostringstream output_;
  std::unique_ptr<grellan::GrellanApp> app_;
  std::unique_ptr<Tutorial> tutorial_;

private:
  std::unique_ptr<grellan::SoundPlayer> previousSounds_;
};

TEST_F(TutorialTest, a_first_launch_walks_through_the_whole_tutorial_and_the_next_launch_takes_the_indicator_road) {
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

TEST_F(TutorialTest, the_ring_shows_the_step_over_five_and_only_steps_0_to_5_have_a_page) {
  const struct {
    int step;
    double percent;
    const std::type_info* page; // null: no page
  } cases[] = {
      {0, 0.0, &typeid(Tutorial::FirstStep)},
      {1, 20.0, &typeid(Tutorial::EnableVirtualHIDDevice)},
      {2, 40.0, &typeid(Tutorial::EnableHobbardDaemons)},
      {3, 60.0, &typeid(Tutorial::ChooseIndicatorLocation)},
      {4, 80.0, &typeid(Tutorial::ChooseVimKey)},
      {5, 100.0, &typeid(Tutorial::Finished)},
      {6, 120.0, nullptr},
      {-1, -20.0, nullptr},
      {3, 60.0, &typeid(Tutorial::ChooseIndicatorLocation)},
      {7, 140.0, nullptr},
      {0, 0.0, &typeid(Tutorial::FirstStep)},
  };
  Tutorial& tutorial = tutorialAt(0);
  for (const auto& stepCase : cases) {
    SCOPED_TRACE(stepCase.step);
    tutorial.setTutorialStep(stepCase.step);
    EXPECT_DOUBLE_EQ(settledPercent(tutorial), stepCase.percent);
    if (stepCase.page == nullptr) {
      EXPECT_EQ(tutorial.page(), nullptr);
      EXPECT_TRUE(buttons(tutorial).isEmpty());
    } else {
      ASSERT_NE(tutorial.page(), nullptr);
      EXPECT_EQ(typeid(*tutorial.page()), *stepCase.page);
    }
  }

  EXPECT_DOUBLE_EQ(tutorial.ring()->ringWidth(), 8.0);
  EXPECT_EQ(tutorial.ring()->size(), QSize(45, 45));
  EXPECT_EQ(tutorial.layout()->contentsMargins(), QMargins(10, 20, 10, 20));
  EXPECT_EQ(tutorial.size(), QSize(520, 540));
}

TEST_F(TutorialTest, the_backend_pages_show_what_its_flags_say_when_they_come) {
  const struct {
    const char* name;
    int step;
    const char* state;
    QStringList buttons;
    QString text;
    QString image;
  } cases[] = {
      {"driver not loaded",
       1,
       R"({"driver_loaded": false})",
       {"Activate VirtualHIDDevice-Manager", "Back"},
       "First, \".Hobbard-VirtualHIDDevice-Manager\" needs to be activated",
       ""},
      {"driver loaded",
       1,
       R"({"driver_loaded": true})",
       {"Continue", "Back"},
       "\".Hobbard-VirtualHIDDevice-Manager\" enabled",
       ""},
      {"input monitoring not permitted",
       2,
       R"({"driver_loaded": true})",
       {"Back"},
       "Enable \"hobbard_grabber\" and \"hobbard_observer\" processes in Input Monitoring",
       "input_monitoring"},
      {"input monitoring permitted",
       2,
       R"({"driver_loaded": true, "hid_device_open_permitted": true})",
       {"Continue", "Back"},
       "\"hobbard_grabber\" and \"hobbard_observer\" enabled",
       ""},
  };
  for (const auto& pageCase : cases) {
    SCOPED_TRACE(pageCase.name);
    tutorialAt(0);
    report(pageCase.state);
    Tutorial& tutorial = tutorialAt(pageCase.step);
    EXPECT_EQ(buttons(tutorial), pageCase.buttons);
    EXPECT_TRUE(texts(tutorial).contains(pageCase.text));
    for (const char* image : {"dext-allow", "input_monitoring"}) {
      EXPECT_EQ(showsImage(tutorial, image), pageCase.image == image) << image;
    }
  }
}

TEST_F(TutorialTest, the_driver_instructions_outlast_flag_changes_and_back_leaves_every_layout_for_the_welcome) {
  grellan_test::installActivationApp(3);
  start();
  QSignalSpy activated(&hobbard(), &grellan::Hobbard::driverNotLoadedChanged);
  report(R"({"driver_loaded": false})");
  Tutorial& tutorial = tutorialAt(1);
  click(tutorial, "Activate VirtualHIDDevice-Manager");
  ASSERT_TRUE(waitUntil([&] { return activated.count() == 2; }));
  EXPECT_EQ(buttons(tutorial), QStringList{"Back"});

  report(R"({"driver_loaded": true})");
  EXPECT_EQ(buttons(tutorial), (QStringList{"Continue", "Back"}));
  // Unloaded again: the instructions come back as they were, not the activate button.
  report(R"({"driver_loaded": false})");
  EXPECT_EQ(buttons(tutorial), QStringList{"Back"});
  EXPECT_TRUE(pageAs<Tutorial::EnableVirtualHIDDevice>(tutorial)->activatePressed());

  const struct {
    const char* name;
    const char* state;
    bool activate;
  } layouts[] = {
      {"instructions", R"({"driver_loaded": false})", true},
      {"activation", R"({"driver_loaded": false})", false},
      {"enabled", R"({"driver_loaded": true})", false},
  };
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.name);
    report(layout.state);
    tutorial.setTutorialStep(1);
    if (layout.activate) {
      pageAs<Tutorial::EnableVirtualHIDDevice>(tutorial)->setActivatePressed(true);
    }
    click(tutorial, "Back");
    EXPECT_EQ(tutorial.tutorialStep(), 0);
    EXPECT_NE(pageAs<Tutorial::FirstStep>(tutorial), nullptr);
  }
  // Coming back starts the page afresh.
  report(R"({"driver_loaded": false})");
  tutorial.setTutorialStep(1);
  EXPECT_FALSE(pageAs<Tutorial::EnableVirtualHIDDevice>(tutorial)->activatePressed());
  EXPECT_EQ(buttons(tutorial), (QStringList{"Activate VirtualHIDDevice-Manager", "Back"}));
}

TEST_F(TutorialTest, the_location_page_shows_the_stored_choice_and_follows_other_writers) {
  Tutorial& tutorial = tutorialAt(3);
  auto* group = pageAs<Tutorial::ChooseIndicatorLocation>(tutorial)->picker()->group();
  EXPECT_EQ(pageAs<Tutorial::ChooseIndicatorLocation>(tutorial)->picker()->title(), "location: ");
  QStringList labels;
  for (const QAbstractButton* option : group->buttons()) {
    labels.append(option->text());
  }
  EXPECT_EQ(labels,
            (QStringList{"top left", "top middle", "top right", "bottom left", "bottom middle", "bottom right"}));
  EXPECT_EQ(group->checkedId(), 1);
  EXPECT_FALSE(defaults().value(keys::indicatorLocation));

  const struct {
    qint64 stored;
    int checked;
  } cases[] = {{3, 3}, {0, 0}, {9, -1}, {(qint64{1} << 32) + 2, -1}};
  for (const auto& stored : cases) {
    SCOPED_TRACE(stored.stored);
    defaults().setValue(keys::indicatorLocation, stored.stored);
    EXPECT_EQ(group->checkedId(), stored.checked);
  }
  QTest::mouseClick(group->button(4), Qt::LeftButton);
  EXPECT_EQ(defaults().integerValue(keys::indicatorLocation), 4);
}

TEST_F(TutorialTest, the_vim_key_page_hands_the_engine_the_stored_key_on_each_arrival_and_each_change) {
  start();
  engine().setVimKeyVimKey("marker");
  Tutorial& tutorial = tutorialAt(4);
  EXPECT_EQ(engine().vimKey(), "left_control");
  auto* page = pageAs<Tutorial::ChooseVimKey>(tutorial);
  EXPECT_EQ(page->picker()->currentText(), "left_control");
  EXPECT_EQ(page->launchAtLoginToggle()->text(), "Launch grellan at login");
  EXPECT_TRUE(texts(tutorial).contains("WARNING: Setting this key will disable its native funtionality."));
  EXPECT_FALSE(defaults().value(keys::vimKey));

  // Picking the key already stored is no change.
  grellan_test::pick(*page->picker(), "caps_lock");
  EXPECT_EQ(engine().vimKey(), "caps_lock");
  engine().setVimKeyVimKey("marker");
  grellan_test::pick(*page->picker(), "caps_lock");
  EXPECT_EQ(engine().vimKey(), "marker");

  // Another writer of the key reaches the engine and the pop-up.
  defaults().setValue(keys::vimKey, "fn");
  EXPECT_EQ(engine().vimKey(), "fn");
  EXPECT_EQ(page->picker()->currentText(), "fn");

  // Back and forward again sends the stored key once more; the page that was left sends nothing.
  click(tutorial, "Back");
  engine().setVimKeyVimKey("marker");
  defaults().setValue(keys::vimKey, "right_option");
  EXPECT_EQ(engine().vimKey(), "marker");
  click(tutorial, "Continue");
  EXPECT_EQ(engine().vimKey(), "right_option");
}

TEST_F(TutorialTest, the_last_page_plays_its_sound_once_per_arrival_and_names_the_stored_key_verbatim) {
  start();
  Tutorial& tutorial = tutorialAt(5);
  EXPECT_EQ(sounds(), QStringList{"Hero"});

  // Nothing that only redraws the page plays it again.
  report(R"({"driver_loaded": false})");
  report(R"({"driver_loaded": true, "hid_device_open_permitted": true})");
  defaults().setValue(keys::indicatorLocation, 2);
  tutorial.setTutorialStep(5);

  const struct {
    const char* stored; // null: unset
    QString shown;
  } keysShown[] = {
      {nullptr, "Use <b>left_control</b> to switch between normal/insert modes."},
      {"right_shift", "Use <b>right_shift</b> to switch between normal/insert modes."},
      {"<i>%1&", "Use <b>&lt;i&gt;%1&amp;</b> to switch between normal/insert modes."},
  };
  for (const auto& key : keysShown) {
    SCOPED_TRACE(key.shown.toStdString());
    if (key.stored == nullptr) {
      defaults().remove(keys::vimKey);
    } else {
      defaults().setValue(keys::vimKey, key.stored);
    }
    EXPECT_TRUE(texts(tutorial).contains(key.shown));
  }
  EXPECT_EQ(sounds(), QStringList{"Hero"});

  click(tutorial, "Back");
  EXPECT_EQ(tutorial.tutorialStep(), 4);
  click(tutorial, "Continue");
  EXPECT_EQ(sounds(), (QStringList{"Hero", "Hero"}));

  // Finish outside the application's window still records the tutorial and starts over.
  defaults().setValue(keys::tutorialPassed, false);
  click(tutorial, "Finish");
  EXPECT_EQ(defaults().boolValue(keys::tutorialPassed), true);
  EXPECT_EQ(tutorial.tutorialStep(), 0);
}

TEST_F(TutorialTest, snapshots_include_every_tutorial_page_and_leave_settings_and_sounds_alone) {
  start();
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
  EXPECT_FALSE(defaults().value(keys::vimKey));
}

} // namespace
