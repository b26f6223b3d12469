#include "platform/UserDefaults.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/watchdog.hpp"

#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using grellan::UserDefaults;
using grellan_test::OddFile;

void writeAndReadBack(UserDefaults& writer, const UserDefaults& reader) {
  EXPECT_FALSE(reader.value("tutorialPassed"));
  EXPECT_FALSE(reader.boolValue("tutorialPassed"));
  EXPECT_FALSE(reader.doubleValue("indicatorAlpha"));
  EXPECT_FALSE(reader.stringListValue("enabledElectronApps"));

  writer.setValue("tutorialPassed", false);
  writer.setValue("indicatorLocation", 3);
  writer.setValue("indicatorAlpha", 0.25);
  writer.setValue("vimKey", "right_command");
  writer.setValue("enabledElectronApps", QStringList{"com.example.one"});
  writer.setValue("topWidget", QStringList{"a", "b"});

  EXPECT_EQ(reader.boolValue("tutorialPassed"), false);
  EXPECT_EQ(reader.integerValue("indicatorLocation"), 3);
  EXPECT_EQ(reader.doubleValue("indicatorAlpha"), 0.25);
  EXPECT_EQ(reader.stringValue("vimKey"), "right_command");
  EXPECT_EQ(reader.stringListValue("enabledElectronApps"), QStringList{"com.example.one"});
  EXPECT_FALSE(reader.stringValue("topWidget"));
  EXPECT_FALSE(reader.integerValue("vimKey"));

  writer.remove("vimKey");
  EXPECT_FALSE(writer.stringValue("vimKey"));
}

TEST(UserDefaults, the_memory_store_reads_back_typed_values_and_tells_absent_keys) {
  UserDefaults defaults(grellan::makeMemoryStorage());
  writeAndReadBack(defaults, defaults);
}

TEST(UserDefaults, the_settings_file_keeps_typed_values_for_the_next_start) {
  const QString file =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/grellan.conf";
  {
    UserDefaults defaults(grellan::makeSettingsStorage());
    writeAndReadBack(defaults, defaults);
  }
  EXPECT_TRUE(QFile::exists(file));
  UserDefaults nextStart(grellan::makeSettingsStorage());
  EXPECT_EQ(nextStart.integerValue("indicatorLocation"), 3);
  EXPECT_EQ(nextStart.boolValue("tutorialPassed"), false);
  EXPECT_EQ(nextStart.stringListValue("enabledElectronApps"), QStringList{"com.example.one"});
  QFile::remove(file);
}

TEST(UserDefaults, a_settings_file_that_is_no_regular_file_reads_as_empty_at_once_and_stays_as_it_is) {
  const hbd_test::watchdog watchdog("starting on an odd settings file");
  const QString file =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/grellan.conf";
  for (const OddFile kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    grellan_test::plant(file, kind);
    const grellan_test::MessageCapture messages;
    UserDefaults defaults(grellan::makeSettingsStorage());
    EXPECT_EQ(messages.count(file), 1);
    EXPECT_FALSE(defaults.value("tutorialPassed"));
    if (kind != OddFile::linkToDevice) {
      // The value holds for this run; the save is refused, reported once.
      defaults.setValue("tutorialPassed", true);
      defaults.setValue("indicatorSize", 0.5);
      EXPECT_EQ(defaults.boolValue("tutorialPassed"), true);
      EXPECT_EQ(messages.count("Cannot save the settings"), 1);
      EXPECT_TRUE(grellan_test::stillThere(file.toStdString(), kind));
    }
  }
  std::filesystem::remove_all(file.toStdString());
}

TEST(UserDefaults, observers_get_the_initial_value_then_every_write_and_removal_until_their_token_goes) {
  UserDefaults defaults(grellan::makeMemoryStorage());
  defaults.setValue("indicatorSize", 0.75);
  std::vector<std::optional<QVariant>> seen;
  std::vector<std::optional<QVariant>> seenLater;
  auto token = defaults.observe("indicatorSize", true, [&](const auto& value) { seen.push_back(value); });
  auto later = defaults.observe("indicatorSize", false, [&](const auto& value) { seenLater.push_back(value); });
  auto other = defaults.observe("indicatorAlpha", false, [&](const auto&) { ADD_FAILURE() << "wrong key"; });

  defaults.setValue("indicatorSize", 1.0);
  defaults.remove("indicatorSize");
  token.cancel();
  defaults.setValue("indicatorSize", 0.5);

  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], QVariant(0.75));
  EXPECT_EQ(seen[1], QVariant(1.0));
  EXPECT_FALSE(seen[2]);
  ASSERT_EQ(seenLater.size(), 3u);
  EXPECT_EQ(seenLater[2], QVariant(0.5));
}

TEST(UserDefaults, an_observer_ended_by_another_during_a_delivery_is_not_called) {
  UserDefaults defaults(grellan::makeMemoryStorage());
  grellan::ObservationToken second;
  int secondCalls = 0;
  auto first = defaults.observe("key", false, [&](const auto&) { second.cancel(); });
  second = defaults.observe("key", false, [&](const auto&) { ++secondCalls; });
  defaults.setValue("key", 1);
  EXPECT_EQ(secondCalls, 0);
}

TEST(UserDefaults, a_token_may_outlive_its_store) {
  grellan::ObservationToken token;
  {
    UserDefaults defaults(grellan::makeMemoryStorage());
    token = defaults.observe("key", false, [](const auto&) {});
  }
  token.cancel();
}

} // namespace
