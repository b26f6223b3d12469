#pragma once

#include "support/app/platform/wait.hpp"
#include "tutorial/Tutorial.hpp"
#include "views/PercentageRing.hpp"

#include <gtest/gtest.h>

namespace grellan_test {

// Waits for the step's animations to end and returns the ring's percentage.
inline double settledPercent(const grellan::Tutorial& tutorial) {
  EXPECT_TRUE(waitUntil([&] { return !tutorial.animating(); }));
  return tutorial.ring()->percent();
}

// The page shown, if it is a `Page`; else null.
template <typename Page>
Page* pageAs(const grellan::Tutorial& tutorial) {
  return dynamic_cast<Page*>(tutorial.page());
}

} // namespace grellan_test
