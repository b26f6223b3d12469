#include "support/app/tutorial/tutorial_pages.hpp"

#include "support/app/platform/wait.hpp"
#include "views/PercentageRing.hpp"

#include <gtest/gtest.h>

namespace grellan_test {

double settledPercent(const grellan::Tutorial& tutorial) {
  EXPECT_TRUE(waitUntil([&] { return !tutorial.animating(); }));
  return tutorial.ring()->percent();
}

} // namespace grellan_test
