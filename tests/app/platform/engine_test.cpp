#include "platform/engine/GRKGrellanKit.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using grellan::GRKJsonManager;

void writeEngineFile(const QByteArray& content) {
  QDir().mkpath(QFileInfo(GRKJsonManager::filePath()).path());
  QFile file(GRKJsonManager::filePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
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

TEST(Engine, the_facade_keeps_the_vim_key_and_names_it_among_its_modifications) {
  grellan::GRKGrellanKit kit;
  EXPECT_EQ(kit.vimKey(), "left_control");
  kit.setVimKeyVimKey("right_command");
  EXPECT_EQ(kit.vimKey(), "right_command");
  EXPECT_TRUE(kit.getModificationNames().contains("Vim mode key: right_command"));
  EXPECT_TRUE(grellan::GRKGrellanKitKt::modifierKeys().contains("left_control"));
}

} // namespace
