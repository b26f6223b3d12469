#pragma once

#include <QString>

#include <gtest/gtest.h>

namespace grellan_test {

// desktop-file-validate's verdict on the entry; empty when it passes.
QString validationErrors(const QString& entry);

// Skips the test where desktop-file-validate is not installed.
class DesktopFileValidatorFixture : public testing::Test {
protected:
  void SetUp() override;
};

} // namespace grellan_test
