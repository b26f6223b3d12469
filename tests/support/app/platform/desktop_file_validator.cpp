#include "support/app/platform/desktop_file_validator.hpp"

#include <QProcess>
#include <QStandardPaths>

namespace grellan_test {

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

void DesktopFileValidatorFixture::SetUp() {
  if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
    GTEST_SKIP() << "desktop-file-validate is not installed (Debian package desktop-file-utils)";
  }
}

} // namespace grellan_test
