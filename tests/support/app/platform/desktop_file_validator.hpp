#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

namespace grellan_test {

// desktop-file-validate's verdict on the entry; empty when it passes.
inline QString validationErrors(const QString& entry) {
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

// Skips the test where desktop-file-validate is not installed.
class DesktopFileValidatorFixture : public testing::Test {
protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
      GTEST_SKIP() << "desktop-file-validate is not installed (Debian package desktop-file-utils)";
    }
  }
};

} // namespace grellan_test
