// The application's tests: one fresh folder for HOME, the XDG folders and the backend's system
// root, Qt's offscreen platform, and no real shell command.

#include "support/test_root.hpp"

#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  hbd_test::test_root root;
  // Qt's temporary files (the settings' working copy among them) stay inside the test's folder too.
  const auto temporary = std::filesystem::path(std::getenv("HBD_TEST_ROOT")) / "tmp";
  std::filesystem::create_directories(temporary);
  setenv("TMPDIR", temporary.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Nothing of a desktop session leaks into the tests.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  testing::InitGoogleMock(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  hbd_test::refuse_real_commands();
  return RUN_ALL_TESTS();
}
