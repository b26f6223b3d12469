#include "platform/DesktopEntry.hpp"
#include "services/LaunchAtLogin.hpp"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// desktop-file-validate's verdict on the entry; empty when it passes.
QString validationErrors(const QString& entry) {
  QProcess validator;
  validator.setProcessChannelMode(QProcess::MergedChannels);
  validator.start(QStandardPaths::findExecutable("desktop-file-validate"), {entry});
  if (!validator.waitForFinished(30000)) {
    return "desktop-file-validate did not finish";
  }
  const QString output = QString::fromUtf8(validator.readAll());
  if (validator.exitStatus() != QProcess::NormalExit || validator.exitCode() != 0) {
    return output.isEmpty() ? QString("desktop-file-validate failed") : output;
  }
  return {};
}

class DesktopEntryTest : public testing::Test {
protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
      GTEST_SKIP() << "desktop-file-validate is not installed (Debian package desktop-file-utils)";
    }
  }
};

TEST_F(DesktopEntryTest, exec_values_quote_any_path_into_a_valid_entry) {
  const struct {
    QString program;
    QString exec;
  } cases[] = {
      {"/usr/bin/grellan", R"("/usr/bin/grellan")"},
      {"/opt/my apps/grellan", R"("/opt/my apps/grellan")"},
      {R"(/tmp/"q"/`b`/$HOME/grellan)", R"("/tmp/\\"q\\"/\\`b\\`/\\$HOME/grellan")"},
      {R"(/tmp/back\slash/grellan)", R"("/tmp/back\\\\slash/grellan")"},
      {"/tmp/100%/%f/grellan", R"("/tmp/100%%/%%f/grellan")"},
      // A line break must not start a line of its own, such as Hidden=true.
      {"/tmp/a\nHidden=true\r\t/grellan", R"("/tmp/a\nHidden=true\r\t/grellan")"},
      {"/tmp/grüße/grellan", R"("/tmp/grüße/grellan")"},
  };
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.program.toStdString());
    EXPECT_EQ(grellan::desktopEntryExec(entry.program), entry.exec);

    QFile file(folder.filePath("grellan.desktop"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Desktop Entry]\nType=Application\nName=grellan\nExec=" +
               grellan::desktopEntryExec(entry.program).toUtf8() + "\n");
    file.close();
    EXPECT_EQ(validationErrors(file.fileName()), "");
  }
}

TEST_F(DesktopEntryTest, the_autostart_entry_is_valid_and_starts_this_program) {
  grellan::LaunchAtLogin::setEnabled(true);
  QFile entry(grellan::LaunchAtLogin::entryPath());
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
  EXPECT_TRUE(lines.contains("Exec=" + grellan::desktopEntryExec(QCoreApplication::applicationFilePath())));
  EXPECT_EQ(validationErrors(entry.fileName()), "");
  grellan::LaunchAtLogin::setEnabled(false);
}

} // namespace
