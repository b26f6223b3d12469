#pragma once

#include "platform/Accessibility.hpp"
#include "platform/Screens.hpp"
#include "platform/Workspace.hpp"
#include "support/app/platform/scoped_defaults.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace grellan_test {

// Fresh user defaults in memory, one 1920 x 1080 screen, a fake accessibility tree and an empty
// workspace for each test.
class IndicatorFixture : public testing::Test {
protected:
  IndicatorFixture()
      : previousScreens_(grellan::Screens::setShared(
            std::make_unique<grellan::FixedScreens>(std::vector<QRect>{QRect(0, 0, 1920, 1080)}))) {
    auto tree = std::make_unique<grellan::FakeAccessibilityTree>();
    tree_ = tree.get();
    previousTree_ = grellan::AccessibilityTree::setShared(std::move(tree));
    grellan::Workspace::reset();
  }

  ~IndicatorFixture() override {
    grellan::Workspace::reset();
    grellan::AccessibilityTree::setShared(std::move(previousTree_));
    grellan::Screens::setShared(std::move(previousScreens_));
  }

  grellan::UserDefaults& defaults() { return defaults_.defaults(); }
  grellan::FakeAccessibilityTree& tree() { return *tree_; }
  grellan::FixedScreens& screens() { return static_cast<grellan::FixedScreens&>(grellan::Screens::shared()); }

private:
  ScopedMemoryDefaults defaults_;
  std::unique_ptr<grellan::Screens> previousScreens_;
  std::unique_ptr<grellan::AccessibilityTree> previousTree_;
  grellan::FakeAccessibilityTree* tree_ = nullptr;
};

} // namespace grellan_test
