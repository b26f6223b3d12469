#pragma once

#include "platform/Accessibility.hpp"
#include "platform/Workspace.hpp"

#include <QString>

#include <functional>
#include <memory>

namespace grellan {

// Attribute names of the accessibility interface.
inline const QString focusedUIElementAttribute = "AXFocusedUIElement";
inline const QString enhancedUserInterfaceAttribute = "AXEnhancedUserInterface";

// The element with the keyboard focus, if any.
std::shared_ptr<AccessibilityElement> focusedElement();

// Reads the focused element's selected text for the indicator's count widgets.
class UserSelectedTextGrabber final {
public:
  std::function<void(const QString&)> callback;

  // Hands the selection, or "" when there is none, to the callback at once.
  void get();
};

// Switches the enhanced accessibility interface of applications on and off.
struct AXEnhancedUserInterfaceActivator final {
  static void activate(const RunningApplication& application);
  static void activate(AccessibilityElement& element);
  static void deactivate(const RunningApplication& application);
  static void deactivate(AccessibilityElement& element);
  static void deactivateAll();
};

} // namespace grellan
