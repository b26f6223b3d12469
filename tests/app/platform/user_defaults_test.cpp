#include "platform/UserDefaults.hpp"

#include "platform/ReplaceableFile.hpp"
#include "support/app/platform/file_size_limit.hpp"
#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/files.hpp"
#include "support/watchdog.hpp"

#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sched.h>
#include <string>
#include <sys/mount.h>

namespace {

using grellan::UserDefaults;
using grellan_test::OddFile;

QString settingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/grellan.conf";
}

void writeSettingsFile(const std::string& content) {
  const std::filesystem::path file = settingsFile().toStdString();
  std::filesystem::create_directories(file.parent_path());
  hbd_test::write_file(file, content);
}

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

TEST(UserDefaults, texts_lists_and_keys_of_any_characters_come_back_from_the_file_as_they_were_written) {
  const QString texts[] = {"",
                           "plain",
                           "a, b",
                           "semi;colon",
                           "say \"hi\"",
                           "back\\slash",
                           "  spaced  ",
                           "two\nlines",
                           "tab\there",
                           "@Invalid()",
                           "@at",
                           "x=y",
                           "#hash",
                           "[General]",
                           "caf\u00e9 \u65e5",
                           "3",
                           "\x01"
                           "control"};
  const QStringList lists[] = {{"a", "b"}, {"one, two", "three;four", " five "}, {"@x", "", "y"}};
  const QString keys[] = {"group/key", "with space", "per%cent", "\u043a\u043b\u044e\u0447"};
  {
    UserDefaults defaults(grellan::makeSettingsStorage());
    for (int index = 0; index < std::ssize(texts); ++index) {
      defaults.setValue(QString("text%1").arg(index), texts[index]);
    }
    for (int index = 0; index < std::ssize(lists); ++index) {
      defaults.setValue(QString("list%1").arg(index), lists[index]);
    }
    for (const QString& key : keys) {
      defaults.setValue(key, key);
    }
    defaults.setValue("double", 0.1);
    defaults.setValue("bool", true);
  }
  const UserDefaults nextStart(grellan::makeSettingsStorage());
  for (int index = 0; index < std::ssize(texts); ++index) {
    EXPECT_EQ(nextStart.stringValue(QString("text%1").arg(index)), texts[index]);
  }
  for (int index = 0; index < std::ssize(lists); ++index) {
    EXPECT_EQ(nextStart.stringListValue(QString("list%1").arg(index)), lists[index]);
  }
  for (const QString& key : keys) {
    EXPECT_EQ(nextStart.stringValue(key), key);
  }
  EXPECT_EQ(nextStart.doubleValue("double"), 0.1);
  EXPECT_EQ(nextStart.boolValue("bool"), true);
  QFile::remove(settingsFile());
}

TEST(UserDefaults, the_settings_are_read_where_no_other_file_can_be_written) {
  const std::filesystem::path file = settingsFile().toStdString();
  writeSettingsFile("[General]\ntutorialPassed=true\nvimKey=fn\n");
  const auto temporary = std::filesystem::path(std::getenv("TMPDIR"));
  hbd_test::write_file(temporary / "a file", "");
  const struct {
    const char* name;
    std::string temporaryFolder;
    rlim_t fileSizeLimit;
  } cases[] = {
      {"temporary folder missing", (temporary / "missing").string(), RLIM_INFINITY},
      {"temporary folder a file", (temporary / "a file").string(), RLIM_INFINITY},
      {"no room for a file", temporary.string(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int status = grellan_test::exitStatusUnderFileSizeLimit(c.fileSizeLimit, [&c] {
      ::setenv("TMPDIR", c.temporaryFolder.c_str(), 1);
      const grellan_test::MessageCapture messages;
      const UserDefaults defaults(grellan::makeSettingsStorage());
      const bool read = defaults.boolValue("tutorialPassed") == true && defaults.stringValue("vimKey") == "fn";
      return read ? static_cast<int>(messages.messages().size()) : 100;
    });
    EXPECT_EQ(status, 0);
  }
  std::filesystem::remove(temporary / "a file");
  std::filesystem::remove(file);
}

TEST(UserDefaults, each_start_reads_the_file_as_it_is_now_also_when_only_its_bytes_changed) {
  const std::filesystem::path file = settingsFile().toStdString();
  const auto time = std::filesystem::file_time_type::clock::now();
  for (const char* key : {"aaa", "bbb"}) {
    writeSettingsFile(std::string("[General]\nvimKey=") + key + "\n");
    std::filesystem::last_write_time(file, time);
    EXPECT_EQ(UserDefaults(grellan::makeSettingsStorage()).stringValue("vimKey"), key);
  }
  std::filesystem::remove(file);
}

TEST(UserDefaults, a_settings_file_too_large_to_read_is_kept_aside_before_the_first_save) {
  const std::filesystem::path file = settingsFile().toStdString();
  const std::string large =
      "[General]\ntutorialPassed=true\n" + std::string(grellan::ReplaceableFile::maximumSize + 1, ';').append("\n");
  writeSettingsFile(large);
  const grellan_test::MessageCapture messages;
  UserDefaults defaults(grellan::makeSettingsStorage());
  EXPECT_FALSE(defaults.value("tutorialPassed"));
  EXPECT_EQ(messages.count(settingsFile()), 1);

  defaults.setValue("vimKey", "fn");
  defaults.setValue("indicatorSize", 0.5);
  EXPECT_EQ(hbd_test::read_file(file.string() + ".unreadable"), large);
  EXPECT_EQ(messages.count("it is kept as " + settingsFile() + ".unreadable"), 1);
  EXPECT_EQ(UserDefaults(grellan::makeSettingsStorage()).stringValue("vimKey"), "fn");
  EXPECT_EQ(hbd_test::entry_names(file.parent_path()),
            (std::set<std::string>{"grellan.conf", "grellan.conf.unreadable"}));
  std::filesystem::remove_all(file.parent_path());
}

TEST(UserDefaults, without_proc_the_settings_file_counts_as_unreadable_and_is_kept_aside) {
  const std::filesystem::path file = settingsFile().toStdString();
  const std::string settings = "[General]\ntutorialPassed=true\nvimKey=fn\n";
  writeSettingsFile(settings);
  constexpr int cannotHideProc = 77;
  const int status = grellan_test::exitStatusUnderFileSizeLimit(RLIM_INFINITY, [] {
    // An empty /proc in a mount namespace of the child's own.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0) {
      return cannotHideProc;
    }
    UserDefaults defaults(grellan::makeSettingsStorage());
    if (defaults.value("tutorialPassed")) {
      return 1;
    }
    defaults.setValue("vimKey", "left_control");
    return 0;
  });
  if (status == cannotHideProc) {
    std::filesystem::remove(file);
    GTEST_SKIP() << "no mount namespace for this user";
  }
  EXPECT_EQ(status, 0);
  EXPECT_EQ(hbd_test::read_file(file.string() + ".unreadable"), settings);
  EXPECT_EQ(UserDefaults(grellan::makeSettingsStorage()).stringValue("vimKey"), "left_control");
  std::filesystem::remove_all(file.parent_path());
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
