#include "settings/GeneralSettingsView.hpp"

#include "services/DefaultsKeys.hpp"
#include "services/LaunchAtLogin.hpp"
#include "support/app/platform/widgets.hpp"
#include "support/app/services/settings_fixture.hpp"
#include "support/launch_agents.hpp"
#include "views/VimKeyPicker.hpp"

#include "platform/command/command.hpp"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace keys = grellan::DefaultsKeys;

class GeneralSettingsTest : public grellan_test::SettingsFixture {
protected:
  grellan::GeneralSettingsView& tab() {
    if (!view_) {
      view_ = std::make_unique<grellan::GeneralSettingsView>(kit(), hobbard(), updater());
      view_->show();
    }
    return *view_;
  }

  grellan::GRKGrellanKit& engine() { return kit().kit(); }

  std::unique_ptr<grellan::GeneralSettingsView> view_;
};

TEST_F(GeneralSettingsTest, without_stored_values_the_tab_shows_the_defaults_and_writes_nothing) {
  defaults().setValue(keys::tutorialPassed, true);
  EXPECT_EQ(tab().vimKeyPicker()->currentText(), "left_control");
  EXPECT_EQ(tab().vimKeyPicker()->count(), grellan::GRKGrellanKitKt::modifierKeys().size());
  EXPECT_EQ(tab().iconStylePicker()->currentText(), "Menu bar");
  EXPECT_EQ(tab().iconStylePicker()->count(), 2);
  EXPECT_FALSE(defaults().value(keys::menuBarEnabled));
  EXPECT_FALSE(defaults().value(keys::iconStyle));
  EXPECT_FALSE(defaults().value(keys::vimKey));
}

TEST_F(GeneralSettingsTest, a_fresh_installation_offers_only_uninstalling_until_the_tutorial_is_passed) {
  EXPECT_FALSE(tab().settingsGroup()->isVisible());
  EXPECT_TRUE(tab().uninstallButton()->isVisible());
  defaults().setValue(keys::tutorialPassed, true);
  EXPECT_TRUE(tab().settingsGroup()->isVisible());
  EXPECT_TRUE(tab().vimKeyPicker()->isVisible());
}

TEST_F(GeneralSettingsTest, a_chosen_vim_key_is_stored_and_sent_to_the_engine_once_and_reselecting_sends_nothing) {
  defaults().setValue(keys::tutorialPassed, true);
  grellan::VimKeyPicker& picker = *tab().vimKeyPicker();
  EXPECT_LE(picker.maximumWidth(), 200);
  grellan_test::pick(picker, "right_shift");
  EXPECT_EQ(defaults().stringValue(keys::vimKey), "right_shift");
  EXPECT_EQ(engine().vimKey(), "right_shift");

  // Anything the engine receives now would replace this marker.
  engine().setVimKeyVimKey("marker");
  grellan_test::pick(picker, "right_shift");
  defaults().setValue(keys::vimKey, "right_shift");
  EXPECT_EQ(engine().vimKey(), "marker");

  // Picking the default while nothing is stored is no change either.
  defaults().remove(keys::vimKey);
  engine().setVimKeyVimKey("marker");
  grellan_test::pick(picker, "left_control");
  EXPECT_FALSE(defaults().value(keys::vimKey));
  EXPECT_EQ(engine().vimKey(), "marker");
}

TEST_F(GeneralSettingsTest, every_change_of_the_stored_vim_key_while_the_tab_is_shown_reaches_the_engine_as_stored) {
  defaults().setValue(keys::tutorialPassed, true);
  grellan::VimKeyPicker& picker = *tab().vimKeyPicker();

  // Another writer of the key moves the pop-up along and the engine gets the key.
  defaults().setValue(keys::vimKey, "caps_lock");
  EXPECT_EQ(picker.currentText(), "caps_lock");
  EXPECT_EQ(engine().vimKey(), "caps_lock");

  // A key the engine does not list stays stored and selects nothing; the engine gets it as stored.
  defaults().setValue(keys::vimKey, "hyper");
  EXPECT_EQ(picker.currentIndex(), -1);
  EXPECT_EQ(engine().vimKey(), "hyper");
  QComboBox& popUp = picker;
  popUp.showPopup();
  popUp.hidePopup();
  EXPECT_EQ(defaults().stringValue(keys::vimKey), "hyper");

  // Removing the key is a change back to the default.
  defaults().remove(keys::vimKey);
  EXPECT_EQ(picker.currentText(), "left_control");
  EXPECT_EQ(engine().vimKey(), "left_control");

  // A hidden tab sends nothing, and shows the key stored meanwhile when it comes back.
  tab().hide();
  engine().setVimKeyVimKey("marker");
  defaults().setValue(keys::vimKey, "right_command");
  EXPECT_EQ(engine().vimKey(), "marker");
  tab().show();
  EXPECT_EQ(picker.currentText(), "right_command");
  EXPECT_EQ(engine().vimKey(), "marker");
}

TEST_F(GeneralSettingsTest, restart_and_uninstall_run_at_once_without_asking) {
  defaults().setValue(keys::tutorialPassed, true);
  tab();
  platform::command::recorder commands;
  QTest::mouseClick(tab().restartButton(), Qt::LeftButton);
  QTest::mouseClick(tab().uninstallButton(), Qt::LeftButton);
  EXPECT_EQ(commands.commands(),
            (std::vector<std::string>{
                "/bin/launchctl kickstart  -k " + hbd_test::gui_domain() + hbd_test::console_user_server + " & ",
                "/usr/bin/nohup osascript '/Library/Application Support/org.zunto/Hobbard-Suite/scripts/"
                "uninstaller.applescript' >/dev/null 2>&1 &"}));
}

TEST_F(GeneralSettingsTest, launch_at_login_and_update_checks_are_announced) {
  defaults().setValue(keys::tutorialPassed, true);
  QSignalSpy launchAtLogin(&tab(), &grellan::GeneralSettingsView::launchAtLoginToggled);
  QSignalSpy updates(&tab(), &grellan::GeneralSettingsView::checkForUpdatesRequested);
  EXPECT_EQ(tab().launchAtLoginToggle()->text(), "Launch grellan at login");
  QTest::mouseClick(tab().launchAtLoginToggle(), Qt::LeftButton);
  QTest::mouseClick(tab().checkForUpdatesButton(), Qt::LeftButton);
  ASSERT_EQ(launchAtLogin.count(), 1);
  EXPECT_TRUE(launchAtLogin.front().front().toBool());
  EXPECT_TRUE(grellan::LaunchAtLogin::isEnabled());
  EXPECT_TRUE(tab().launchAtLoginToggle()->isChecked());
  EXPECT_EQ(updates.count(), 1);
}

} // namespace
