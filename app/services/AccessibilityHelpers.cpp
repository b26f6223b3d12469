#include "services/AccessibilityHelpers.hpp"

namespace grellan {
namespace {

void setEnhanced(qint64 processIdentifier, bool value) {
  if (auto element = AccessibilityTree::shared().application(processIdentifier)) {
    element->setAttribute(enhancedUserInterfaceAttribute, value);
  }
}

} // namespace

std::shared_ptr<AccessibilityElement> focusedElement() {
  auto systemWide = AccessibilityTree::shared().systemWide();
  return systemWide ? systemWide->element(focusedUIElementAttribute) : nullptr;
}

void UserSelectedTextGrabber::get() {
  std::optional<QString> text;
  if (auto element = focusedElement()) {
    text = element->selectedText();
  }
  if (callback) {
    callback(text.value_or(QString()));
  }
}

void AXEnhancedUserInterfaceActivator::activate(const RunningApplication& application) {
  setEnhanced(application.processIdentifier, true);
}

void AXEnhancedUserInterfaceActivator::activate(AccessibilityElement& element) {
  element.setAttribute(enhancedUserInterfaceAttribute, true);
}

void AXEnhancedUserInterfaceActivator::deactivate(const RunningApplication& application) {
  setEnhanced(application.processIdentifier, false);
}

void AXEnhancedUserInterfaceActivator::deactivate(AccessibilityElement& element) {
  element.setAttribute(enhancedUserInterfaceAttribute, false);
}

void AXEnhancedUserInterfaceActivator::deactivateAll() {
  for (const auto& application : Workspace::runningApplications()) {
    setEnhanced(application.processIdentifier, false);
  }
}

} // namespace grellan
