#include "shell/LaunchAtLogin.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace LaunchAtLogin = grellan::LaunchAtLogin;

QStringList& loggedMessages() {
  static QStringList messages;
  return messages;
}

void recordMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg) {
    loggedMessages().append(message);
  }
}

class LaunchAtLoginTest : public testing::Test {
protected:
  LaunchAtLoginTest() : previousHandler_(qInstallMessageHandler(recordMessage)) {
    loggedMessages().clear();
    std::filesystem::remove_all(autostart());
  }
  ~LaunchAtLoginTest() override {
    qInstallMessageHandler(previousHandler_);
    std::filesystem::remove_all(autostart());
  }

  static std::filesystem::path autostart() {
    return std::filesystem::path(LaunchAtLogin::entryPath().toStdString()).parent_path();
  }

  static void writeEntry(const std::string& text) {
    std::filesystem::create_directories(autostart());
    std::ofstream(LaunchAtLogin::entryPath().toStdString()) << text;
  }

  QtMessageHandler previousHandler_;
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

TEST_F(LaunchAtLoginTest, entries_that_are_hidden_or_not_ours_read_as_off) {
  const struct {
    const char* text;
    LaunchAtLogin::Status status;
  } cases[] = {
      {"[Desktop Entry]\nType=Application\nX-Grellan-LoginItem=true\nHidden=true\n",
       LaunchAtLogin::Status::requiresApproval},
      {"[Desktop Entry]\nType=Application\nExec=other\n", LaunchAtLogin::Status::notFound},
      {"[Desktop Entry]\nType=Application\nX-Grellan-LoginItem=true\nHidden=false\n", LaunchAtLogin::Status::enabled},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.text);
    writeEntry(entry.text);
    EXPECT_EQ(LaunchAtLogin::status(), entry.status);
    EXPECT_EQ(LaunchAtLogin::isEnabled(), entry.status == LaunchAtLogin::Status::enabled);
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

} // namespace
