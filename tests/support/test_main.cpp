// Every test process works inside one fresh folder: HOME, the XDG folders and the backend's
// system root all point there before the first path is computed.

#include "support/test_root.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  hbd_test::test_root root;
  testing::InitGoogleMock(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  hbd_test::refuse_real_commands();
  return RUN_ALL_TESTS();
}
