#include "tutorial/Tutorial.hpp"

#include "services/DefaultsKeys.hpp"
#include "services/LaunchAtLogin.hpp"
#include "support/app/platform/wait.hpp"
#include "support/app/platform/widgets.hpp"
#include "support/app/services/app_services.hpp"
#include "support/app/services/backend_files.hpp"
#include "support/app/services/fresh_launch_fixture.hpp"
#include "support/app/tutorial/tutorial_pages.hpp"
#include "tutorial/ChooseIndicatorLocation.hpp"
#include "tutorial/ChooseVimKey.hpp"
#include "tutorial/EnableHobbardDaemons.hpp"
#include "tutorial/EnableVirtualHIDDevice.hpp"
#include "tutorial/Finished.hpp"
#include "tutorial/FirstStep.hpp"
#include "views/IndicatorLocationPicker.hpp"
#include "views/PercentageRing.hpp"
#include "views/VimKeyPicker.hpp"

#include <QButtonGroup>
#include <QLayout>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

namespace {

using grellan::Tutorial;
using grellan_test::buttons;
using grellan_test::click;
using grellan_test::pageAs;
using grellan_test::settledPercent;
using grellan_test::showsImage;
using grellan_test::texts;
using grellan_test::waitUntil;
namespace keys = grellan::DefaultsKeys;

// A tutorial of its own on the application's services, without the application.
class TutorialTest : public grellan_test::FreshLaunchFixture {
protected:
  void stop() override { services_.reset(); }
  void launch(std::ostream& output) override { services_ = std::make_unique<grellan_test::AppServices>(output); }
  grellan::GrellanKit_& kit() override { return services_->kit; }
  grellan::Hobbard& hobbard() override { return services_->hobbard; }

  // The tutorial, shown on the given step.
  Tutorial& tutorialAt(int step) {
    if (!services_) {
      start();
    }
    if (!tutorial_) {
      tutorial_ = std::make_unique<Tutorial>(kit(), hobbard());
      tutorial_->show();
    }
    tutorial_->setTutorialStep(step);
    return *tutorial_;
  }

private:
  std::unique_ptr<grellan_test::AppServices> services_;
  std::unique_ptr<Tutorial> tutorial_;
};

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
  EXPECT_EQ(tutorial.ring()->size(), grellan::PercentageRing::sizeFor(QSize(45, 45)));
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

} // namespace
