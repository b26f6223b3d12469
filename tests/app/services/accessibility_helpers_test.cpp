#include "services/AccessibilityHelpers.hpp"

#include "support/app/platform/indicator_fixture.hpp"

#include <gtest/gtest.h>

namespace {

using grellan::UserSelectedTextGrabber;
using Set = grellan::FakeAccessibilityTree::AttributeSet;

class AccessibilityHelpersTest : public grellan_test::IndicatorFixture {};

TEST_F(AccessibilityHelpersTest, the_grabber_hands_the_focused_selection_or_an_empty_text) {
  const struct {
    const char* name;
    bool focused;
    std::optional<QString> selection;
    QString expected;
  } cases[] = {
      {"no focused element", false, std::nullopt, ""},
      {"an element without text", true, std::nullopt, ""},
      {"an empty selection", true, QString(""), ""},
      {"a selection", true, QString("two\nlines"), "two\nlines"},
  };
  for (const auto& focus : cases) {
    SCOPED_TRACE(focus.name);
    tree().setFocusedElement(focus.focused, focus.selection);
    std::optional<QString> delivered;
    UserSelectedTextGrabber grabber;
    grabber.callback = [&](const QString& text) { delivered = text; };
    grabber.get();
    EXPECT_EQ(delivered, focus.expected);
  }
  // Without a callback nothing happens.
  UserSelectedTextGrabber().get();
}

TEST_F(AccessibilityHelpersTest, an_attribute_that_is_not_an_element_gives_no_element) {
  tree().setFocusedElement(true, QString("x"));
  auto systemWide = tree().systemWide();
  EXPECT_NE(systemWide->element("AXFocusedUIElement"), nullptr);
  EXPECT_EQ(systemWide->element("AXTitle"), nullptr);
}

TEST_F(AccessibilityHelpersTest, the_activator_switches_applications_and_deactivates_every_running_one) {
  grellan::Workspace::applicationDidActivate({"com.example.one", 11});
  grellan::Workspace::applicationDidActivate({"com.example.two", 12});
  grellan::AXEnhancedUserInterfaceActivator::activate(grellan::RunningApplication{"com.example.one", 11});
  grellan::AXEnhancedUserInterfaceActivator::deactivateAll();
  EXPECT_EQ(tree().attributeSets(), (std::vector<Set>{{11, "AXEnhancedUserInterface", true},
                                                      {11, "AXEnhancedUserInterface", false},
                                                      {12, "AXEnhancedUserInterface", false}}));
}

TEST(AccessibilityWithoutBus, a_session_without_an_accessibility_bus_gives_no_value) {
  // The tests' session bus has no accessibility bus, so the real tree answers nothing.
  auto previous = grellan::AccessibilityTree::setShared(nullptr);
  EXPECT_EQ(grellan::focusedElement(), nullptr);
  std::optional<QString> delivered;
  UserSelectedTextGrabber grabber;
  grabber.callback = [&](const QString& text) { delivered = text; };
  grabber.get();
  EXPECT_EQ(delivered, "");
  grellan::AXEnhancedUserInterfaceActivator::deactivate(grellan::RunningApplication{"com.example.one", 1});
  grellan::AccessibilityTree::setShared(std::move(previous));
}

} // namespace
