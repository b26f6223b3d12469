#include "platform/EnvironmentPaths.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/environment_guard.hpp"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(EnvironmentPaths, folders_that_cannot_be_used_as_given_are_dropped_with_a_warning) {
  const std::string home = std::getenv("HOME");
  const struct {
    const char* name;
    std::string value;
    bool kept;
  } cases[] = {
      {"XDG_CONFIG_HOME", "~/.config", false},
      {"XDG_CONFIG_HOME", ".", false},
      {"XDG_CONFIG_HOME", "/tmp/caf\xe9", false},
      {"XDG_CONFIG_HOME", home + "/caf\xc3\xa9", true},
      {"XDG_DATA_HOME", "share", false},
      {"XDG_CACHE_HOME", "cache", false},
      {"XDG_STATE_HOME", home + "/state", true},
      {"TMPDIR", home + "/missing", false},
      {"TMPDIR", "tmp", false},
      {"TMPDIR", home, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.value);
    const hbd_test::environment_guard guard(c.name);
    ::setenv(c.name, c.value.c_str(), 1);
    const grellan_test::MessageCapture messages;
    grellan::dropUnusableEnvironmentPaths();
    EXPECT_EQ(std::getenv(c.name) != nullptr, c.kept);
    EXPECT_EQ(messages.count(c.name), c.kept ? 0 : 1);
  }
}

TEST(EnvironmentPaths, a_dropped_config_home_leaves_qt_at_the_default_folder) {
  const hbd_test::environment_guard guard("XDG_CONFIG_HOME");
  ::setenv("XDG_CONFIG_HOME", "~/.config", 1);
  const grellan_test::MessageCapture messages;
  grellan::dropUnusableEnvironmentPaths();
  EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), QDir::homePath() + "/.config");
}

} // namespace
