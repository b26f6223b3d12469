#include "platform/Accessibility.hpp"

#include <QDBusConnection>

#include <gtest/gtest.h>

namespace {

TEST(AtspiTree, a_missing_accessibility_library_gives_no_value) {
  // An accessibility bus is announced, so only the missing library keeps the tree from answering.
  QDBusConnection bus = QDBusConnection::sessionBus();
  ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
  ASSERT_TRUE(bus.registerService("org.a11y.Bus"));
  auto tree = grellan::AccessibilityTree::atspi("libgrellan-missing-accessibility.so.0");
  EXPECT_EQ(tree->systemWide(), nullptr);
  EXPECT_EQ(tree->application(1), nullptr);
  // Asked again, it still answers nothing.
  EXPECT_EQ(tree->systemWide(), nullptr);
  bus.unregisterService("org.a11y.Bus");
}

} // namespace
