#include "services/LaunchAtLogin.hpp"

#include "platform/DesktopEntry.hpp"
#include "platform/ReplaceableFile.hpp"
#include "support/app/platform/desktop_file_validator.hpp"
#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/watchdog.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace LaunchAtLogin = grellan::LaunchAtLogin;

class LaunchAtLoginTest : public testing::Test {
protected:
  LaunchAtLoginTest() { std::filesystem::remove_all(autostart()); }
  ~LaunchAtLoginTest() override { std::filesystem::remove_all(autostart()); }

  const QStringList& loggedMessages() const { return messages_.messages(); }

  static std::filesystem::path autostart() {
    return std::filesystem::path(LaunchAtLogin::entryPath().toStdString()).parent_path();
  }

  static void writeEntry(const std::string& text) {
    std::filesystem::create_directories(autostart());
    std::ofstream(LaunchAtLogin::entryPath().toStdString()) << text;
  }

  static std::string contentOf(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  grellan_test::MessageCapture messages_;
};

TEST_F(LaunchAtLoginTest, switching_writes_and_removes_the_autostart_entry) {
  EXPECT_TRUE(LaunchAtLogin::entryPath().endsWith("/autostart/grellan.desktop"));
  EXPECT_FALSE(LaunchAtLogin::isEnabled());

  LaunchAtLogin::setEnabled(true);
  EXPECT_TRUE(LaunchAtLogin::isEnabled());
  QFile entry(LaunchAtLogin::entryPath());
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(entry.readAll());
  EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
  EXPECT_TRUE(text.contains("Type=Application\n"));
  EXPECT_TRUE(text.contains("Exec="));

  // Switching on again re-registers and stays on.
  LaunchAtLogin::setEnabled(true);
  EXPECT_TRUE(LaunchAtLogin::isEnabled());

  LaunchAtLogin::setEnabled(false);
  EXPECT_FALSE(LaunchAtLogin::isEnabled());
  EXPECT_FALSE(QFileInfo::exists(LaunchAtLogin::entryPath()));
  EXPECT_TRUE(loggedMessages().isEmpty());
}

TEST_F(LaunchAtLoginTest, only_our_entry_that_starts_this_program_reads_as_on_and_switching_on_repairs_ours) {
  const std::string ours = "[Desktop Entry]\nType=Application\nX-Grellan-LoginItem=true\n";
  const std::string thisProgram =
      "Exec=" + grellan::desktopEntryExec(QCoreApplication::applicationFilePath()).toStdString() + "\n";
  const struct {
    std::string text;
    LaunchAtLogin::Status status;
  } cases[] = {
      {ours + thisProgram + "Hidden=false\nX-GNOME-Autostart-enabled=true\n", LaunchAtLogin::Status::enabled},
      {ours + thisProgram + "Hidden=true\n", LaunchAtLogin::Status::requiresApproval},
      {ours + thisProgram + "X-GNOME-Autostart-enabled=false\n", LaunchAtLogin::Status::requiresApproval},
      // Written by a copy of grellan at another path, since removed.
      {ours + "Exec=\"/removed/build/grellan\"\n", LaunchAtLogin::Status::requiresApproval},
      {ours, LaunchAtLogin::Status::requiresApproval},
      {"[Desktop Entry]\nType=Application\nExec=other\n", LaunchAtLogin::Status::notFound},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.text);
    writeEntry(entry.text);
    EXPECT_EQ(LaunchAtLogin::status(), entry.status);
    EXPECT_EQ(LaunchAtLogin::isEnabled(), entry.status == LaunchAtLogin::Status::enabled);

    LaunchAtLogin::setEnabled(true);
    EXPECT_TRUE(LaunchAtLogin::isEnabled());
    const std::string written = contentOf(LaunchAtLogin::entryPath().toStdString());
    EXPECT_NE(written.find(thisProgram), std::string::npos);
    EXPECT_EQ(written.find("Hidden"), std::string::npos);
    // Only a user's own entry is kept aside.
    EXPECT_EQ(std::filesystem::exists(LaunchAtLogin::entryPath().toStdString() + ".user"),
              entry.status == LaunchAtLogin::Status::notFound);
    std::filesystem::remove_all(autostart());
  }
}

TEST_F(LaunchAtLoginTest, failures_are_logged_with_the_requested_direction_and_the_reason) {
  LaunchAtLogin::setEnabled(false);
  ASSERT_EQ(loggedMessages().size(), 1);
  EXPECT_EQ(loggedMessages().at(0), "Failed to disable launch at login: The login item is not registered.");

  // A regular file where the autostart folder belongs.
  std::filesystem::create_directories(autostart().parent_path());
  std::ofstream(autostart()) << "not a folder";
  LaunchAtLogin::setEnabled(true);
  ASSERT_EQ(loggedMessages().size(), 2);
  EXPECT_TRUE(loggedMessages().at(1).startsWith("Failed to enable launch at login: "));
  EXPECT_GT(loggedMessages().at(1).size(), QString("Failed to enable launch at login: ").size());
  EXPECT_FALSE(LaunchAtLogin::isEnabled());
}

TEST_F(LaunchAtLoginTest, a_user_s_own_entry_moves_aside_to_a_free_name_and_is_never_destroyed) {
  const std::filesystem::path entry = LaunchAtLogin::entryPath().toStdString();
  const std::string mine = "[Desktop Entry]\nType=Application\nExec=my-grellan --flag\n";
  writeEntry(mine);
  std::ofstream(entry.string() + ".user") << "an older file of that name";
  LaunchAtLogin::setEnabled(true);
  EXPECT_TRUE(LaunchAtLogin::isEnabled());
  EXPECT_EQ(contentOf(entry.string() + ".user.2"), mine);
  EXPECT_EQ(contentOf(entry.string() + ".user"), "an older file of that name");
  ASSERT_EQ(loggedMessages().size(), 1);
  EXPECT_EQ(
      loggedMessages().at(0),
      QString("The autostart entry %1 was not grellan's; it is kept as %1.user.2").arg(LaunchAtLogin::entryPath()));

  // A user's entry that cannot be read is theirs too.
  writeEntry(mine);
  std::filesystem::resize_file(entry, grellan::ReplaceableFile::maximumSize + 1);
  LaunchAtLogin::setEnabled(true);
  EXPECT_TRUE(LaunchAtLogin::isEnabled());
  EXPECT_EQ(std::filesystem::file_size(entry.string() + ".user.3"), grellan::ReplaceableFile::maximumSize + 1);
}

TEST_F(LaunchAtLoginTest, an_entry_that_is_no_regular_file_reads_as_off_at_once_and_stays_as_it_is) {
  const hbd_test::watchdog watchdog("reading an odd autostart entry");
  const std::filesystem::path entry = LaunchAtLogin::entryPath().toStdString();
  for (const auto kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    grellan_test::plant(entry, kind);
    messages_.clear();
    EXPECT_EQ(LaunchAtLogin::status(), LaunchAtLogin::Status::notRegistered);
    EXPECT_EQ(messages_.count(LaunchAtLogin::entryPath()), 1);
    if (kind != grellan_test::OddFile::linkToDevice) {
      LaunchAtLogin::setEnabled(true);
      EXPECT_EQ(messages_.count("Failed to enable launch at login: "), 1);
      EXPECT_TRUE(grellan_test::stillThere(entry, kind));
    }
  }
}

TEST_F(LaunchAtLoginTest, toggles_follow_every_switch) {
  LaunchAtLogin::Toggle first;
  LaunchAtLogin::Toggle second("Start with the session");
  EXPECT_EQ(first.text(), "Launch at login");
  EXPECT_EQ(second.text(), "Start with the session");
  EXPECT_FALSE(first.isChecked());

  first.click();
  EXPECT_TRUE(LaunchAtLogin::isEnabled());
  EXPECT_TRUE(second.isChecked());
  second.click();
  EXPECT_FALSE(LaunchAtLogin::isEnabled());
  EXPECT_FALSE(first.isChecked());
}

using LaunchAtLoginEntryTest = grellan_test::DesktopFileValidatorFixture;

TEST_F(LaunchAtLoginEntryTest, the_autostart_entry_is_valid_and_starts_this_program) {
  LaunchAtLogin::setEnabled(true);
  QFile entry(LaunchAtLogin::entryPath());
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
  EXPECT_TRUE(lines.contains("Exec=" + grellan::desktopEntryExec(QCoreApplication::applicationFilePath())));
  EXPECT_EQ(grellan_test::validationErrors(entry.fileName()), "");
  LaunchAtLogin::setEnabled(false);
}

} // namespace
