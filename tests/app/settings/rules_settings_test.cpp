#include "settings/RulesSettings.hpp"

#include "settings/ApplicationList.hpp"
#include "support/app/platform/message_capture.hpp"
#include "support/app/services/settings_fixture.hpp"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

class RulesSettingsTest : public grellan_test::SettingsFixture {
protected:
  grellan::RulesSettings& tab() {
    if (!view_) {
      view_ = std::make_unique<grellan::RulesSettings>(kit());
    }
    view_->show();
    return *view_;
  }

  grellan::GRKJsonManager& engineList() { return kit().kit().jsonManager(); }

  void click(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
  }

  std::unique_ptr<grellan::RulesSettings> view_;
};

TEST_F(RulesSettingsTest, showing_the_tab_reads_the_engine_list_and_deleting_removes_every_equal_entry) {
  engineList().setIgnoredAppsIgnoredApps({"org.a", "org.b", "org.a", "org.c"});
  EXPECT_EQ(tab().ignoredApps()->identifiers(), (QStringList{"org.a", "org.b", "org.a", "org.c"}));
  click(tab().ignoredApps()->deleteButton(2));
  EXPECT_EQ(tab().ignoredApps()->identifiers(), (QStringList{"org.b", "org.c"}));
  EXPECT_EQ(engineList().getIgnoredApps(), (QStringList{"org.b", "org.c"}));

  // Changes made elsewhere show the next time the tab is shown.
  engineList().setIgnoredAppsIgnoredApps({"org.d"});
  tab().hide();
  EXPECT_EQ(tab().ignoredApps()->identifiers(), QStringList{"org.d"});
}

TEST_F(RulesSettingsTest, an_added_application_goes_to_the_engine_with_the_whole_list) {
  engineList().setIgnoredAppsIgnoredApps({"org.a"});
  choose(installApplication("org.example.Editor.desktop"));
  click(tab().ignoredApps()->addButton());
  EXPECT_EQ(engineList().getIgnoredApps(), (QStringList{"org.a", "org.example.Editor"}));
  EXPECT_EQ(tab().ignoredApps()->identifiers(), (QStringList{"org.a", "org.example.Editor"}));
}

TEST_F(RulesSettingsTest, a_list_the_engine_cannot_store_is_reported_and_the_tab_shows_the_list_as_stored) {
  const std::filesystem::path engineFile = grellan::GRKJsonManager::filePath().toStdString();
  std::filesystem::create_directories(engineFile);
  choose(installApplication("org.example.Editor.desktop"));
  const grellan_test::MessageCapture messages;
  click(tab().ignoredApps()->addButton());
  EXPECT_TRUE(tab().ignoredApps()->identifiers().isEmpty());
  EXPECT_EQ(messages.count("Cannot store ignoredApps"), 1);
  std::filesystem::remove(engineFile);

  // Added again: the same identifier twice.
  click(tab().ignoredApps()->addButton());
  click(tab().ignoredApps()->addButton());
  EXPECT_EQ(engineList().getIgnoredApps(), (QStringList{"org.example.Editor", "org.example.Editor"}));
  EXPECT_EQ(tab().ignoredApps()->identifiers(), (QStringList{"org.example.Editor", "org.example.Editor"}));
}

} // namespace
