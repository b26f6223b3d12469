#include "platform/DesktopEntry.hpp"

#include "support/app/platform/desktop_file_validator.hpp"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using DesktopEntryTest = grellan_test::DesktopFileValidatorFixture;

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
    EXPECT_EQ(grellan_test::validationErrors(file.fileName()), "");
  }
}

} // namespace
