#include "platform/engine/GRKGrellanKit.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/watchdog.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using grellan::GRKJsonManager;

using grellan_test::OddFile;

std::filesystem::path path() { return GRKJsonManager::filePath().toStdString(); }

void writeEngineFile(const QByteArray& content, const QString& suffix = "") {
  QDir().mkpath(QFileInfo(GRKJsonManager::filePath()).path());
  QFile file(GRKJsonManager::filePath() + suffix);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

QByteArray readEngineFile(const QString& suffix) {
  QFile file(GRKJsonManager::filePath() + suffix);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Engine, ignored_applications_live_in_the_engine_file_and_survive_a_new_facade) {
  QFile::remove(GRKJsonManager::filePath());
  EXPECT_EQ(GRKJsonManager::filePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/grellan/engine.json");
  EXPECT_TRUE(grellan::GRKGrellanKit().jsonManager().getIgnoredApps().isEmpty());

  grellan::GRKGrellanKit().jsonManager().setIgnoredAppsIgnoredApps({"com.example.term", "com.example.game"});
  EXPECT_EQ(grellan::GRKGrellanKit().jsonManager().getIgnoredApps(),
            (QStringList{"com.example.term", "com.example.game"}));
  QFile::remove(GRKJsonManager::filePath());
}

TEST(Engine, an_unreadable_engine_file_means_no_ignored_applications_and_other_keys_survive_a_write) {
  const struct {
    const char* name;
    QByteArray content;
  } cases[] = {
      {"not JSON", "{\"ignoredApps\": [\"a\""},
      {"not a list", R"({"ignoredApps": "a"})"},
      {"not an object", R"(["a"])"},
  };
  for (const auto& unreadable : cases) {
    SCOPED_TRACE(unreadable.name);
    writeEngineFile(unreadable.content);
    EXPECT_TRUE(GRKJsonManager().getIgnoredApps().isEmpty());
  }

  writeEngineFile(R"({"ignoredApps": ["a", 3, "b"], "kept": true})");
  EXPECT_EQ(GRKJsonManager().getIgnoredApps(), (QStringList{"a", "b"}));
  GRKJsonManager().setIgnoredAppsIgnoredApps({});
  QFile file(GRKJsonManager::filePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("\"kept\": true"));
  QFile::remove(GRKJsonManager::filePath());
}

TEST(Engine, the_facade_keeps_the_vim_key_in_the_engine_file_beside_the_list_and_names_it_among_its_modifications) {
  QFile::remove(GRKJsonManager::filePath());
  grellan::GRKGrellanKit kit;
  EXPECT_EQ(kit.vimKey(), "left_control");
  kit.jsonManager().setIgnoredAppsIgnoredApps({"org.a"});
  kit.setVimKeyVimKey("right_command");
  EXPECT_EQ(kit.vimKey(), "right_command");
  EXPECT_TRUE(kit.getModificationNames().contains("Vim mode key: right_command"));
  EXPECT_TRUE(grellan::GRKGrellanKitKt::modifierKeys().contains("left_control"));

  const grellan::GRKGrellanKit nextStart;
  EXPECT_EQ(nextStart.vimKey(), "right_command");
  EXPECT_TRUE(nextStart.getModificationNames().contains("Vim mode key: right_command"));
  EXPECT_EQ(GRKJsonManager().getIgnoredApps(), QStringList{"org.a"});
  QFile::remove(GRKJsonManager::filePath());
}

TEST(Engine, an_engine_file_that_is_no_regular_file_reads_as_empty_at_once_and_is_not_replaced) {
  const hbd_test::watchdog watchdog("reading an odd engine file");
  for (const OddFile kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    grellan_test::plant(GRKJsonManager::filePath(), kind);
    const grellan_test::MessageCapture messages;
    const grellan::GRKGrellanKit kit;
    EXPECT_EQ(kit.vimKey(), "left_control");
    EXPECT_EQ(messages.count(GRKJsonManager::filePath()), 1);
    EXPECT_TRUE(GRKJsonManager().getIgnoredApps().isEmpty());
    EXPECT_EQ(messages.count(GRKJsonManager::filePath()), 2);
    if (kind != OddFile::linkToDevice) {
      // A list that cannot be stored is reported, and nothing was stored.
      GRKJsonManager().setIgnoredAppsIgnoredApps({"org.a"});
      EXPECT_EQ(messages.count("Cannot store ignoredApps"), 1);
      EXPECT_TRUE(grellan_test::stillThere(path(), kind));
    }
  }
  std::filesystem::remove_all(path());
}

TEST(Engine, an_engine_file_that_cannot_be_read_back_is_kept_aside_before_a_new_list_replaces_it) {
  const grellan_test::MessageCapture messages;
  const QByteArray corrupt = "{\"ignoredApps\": [\"org.mine\"";
  writeEngineFile(corrupt);
  writeEngineFile(corrupt, ".unreadable");
  GRKJsonManager().setIgnoredAppsIgnoredApps({"org.a"});
  EXPECT_EQ(GRKJsonManager().getIgnoredApps(), QStringList{"org.a"});
  EXPECT_EQ(readEngineFile(".unreadable"), corrupt);
  EXPECT_EQ(readEngineFile(".unreadable.2"), corrupt);
  EXPECT_EQ(messages.count("kept as " + GRKJsonManager::filePath() + ".unreadable.2"), 1);

  // An empty file holds nothing to keep.
  writeEngineFile("");
  GRKJsonManager().setIgnoredAppsIgnoredApps({"org.b"});
  EXPECT_EQ(GRKJsonManager().getIgnoredApps(), QStringList{"org.b"});
  EXPECT_FALSE(QFile::exists(GRKJsonManager::filePath() + ".unreadable.3"));
  for (const char* suffix : {"", ".unreadable", ".unreadable.2"}) {
    QFile::remove(GRKJsonManager::filePath() + suffix);
  }
}

} // namespace
