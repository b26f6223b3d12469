// The application's tests: one fresh folder for HOME, the XDG folders and the backend's system
// root, Qt's offscreen platform, and no real shell command.

#include "support/test_root.hpp"

#include <QApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  hbd_test::test_root root;
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
