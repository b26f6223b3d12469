#pragma once

#include "tutorial/Tutorial.hpp"

namespace grellan_test {

// Waits for the step's animations to end and returns the ring's percentage.
double settledPercent(const grellan::Tutorial& tutorial);

// The page shown, if it is a `Page`; else null.
template <typename Page>
Page* pageAs(const grellan::Tutorial& tutorial) {
  return dynamic_cast<Page*>(tutorial.page());
}

} // namespace grellan_test
