#include "platform/Accessibility.hpp"

#include "platform/Installed.hpp"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <atspi/atspi.h>

#include <functional>

namespace grellan {
namespace {

const QString focusedElementAttribute = "AXFocusedUIElement";

// No more than this many elements are visited looking for the focus, so a huge tree cannot stall
// the indicator's refresh.
constexpr int searchLimit = 4000;

// Owns one reference of an AT-SPI object.
struct Unref {
  void operator()(AtspiAccessible* accessible) const { g_object_unref(accessible); }
};
using AccessiblePtr = std::unique_ptr<AtspiAccessible, Unref>;

bool hasState(AtspiAccessible* accessible, AtspiStateType state) {
  AtspiStateSet* states = atspi_accessible_get_state_set(accessible);
  if (states == nullptr) {
    return false;
  }
  const bool result = atspi_state_set_contains(states, state) != FALSE;
  g_object_unref(states);
  return result;
}

// Depth first below `accessible`, not descending into what is not showing.
AccessiblePtr findFocused(AtspiAccessible* accessible, int& budget) {
  const gint count = atspi_accessible_get_child_count(accessible, nullptr);
  for (gint index = 0; index < count && budget > 0; ++index, --budget) {
    AccessiblePtr child(atspi_accessible_get_child_at_index(accessible, index, nullptr));
    if (!child) {
      continue;
    }
    if (hasState(child.get(), ATSPI_STATE_FOCUSED)) {
      return child;
    }
    if (hasState(child.get(), ATSPI_STATE_SHOWING)) {
      if (auto found = findFocused(child.get(), budget)) {
        return found;
      }
    }
  }
  return nullptr;
}

std::optional<QString> selectionOf(AtspiAccessible* accessible) {
  AtspiText* text = atspi_accessible_get_text_iface(accessible);
  if (text == nullptr) {
    return std::nullopt;
  }
  QString result;
  const gint selections = atspi_text_get_n_selections(text, nullptr);
  for (gint index = 0; index < selections; ++index) {
    AtspiRange* range = atspi_text_get_selection(text, index, nullptr);
    if (range == nullptr) {
      continue;
    }
    if (gchar* part = atspi_text_get_text(text, range->start_offset, range->end_offset, nullptr)) {
      result += QString::fromUtf8(part);
      g_free(part);
    }
    g_free(range);
  }
  g_object_unref(text);
  return result;
}

class AtspiElement final : public AccessibilityElement {
public:
  // Null `accessible`: the system-wide element, which searches every application.
  explicit AtspiElement(AccessiblePtr accessible) : accessible_(std::move(accessible)) {}

  std::shared_ptr<AccessibilityElement> element(const QString& attribute) const override {
    if (attribute != focusedElementAttribute) {
      return nullptr;
    }
    int budget = searchLimit;
    AccessiblePtr found;
    if (accessible_) {
      found = findFocused(accessible_.get(), budget);
    } else {
      AccessiblePtr desktop(atspi_get_desktop(0));
      // Only the active window's application holds the keyboard focus.
      const gint count = desktop ? atspi_accessible_get_child_count(desktop.get(), nullptr) : 0;
      for (gint index = 0; index < count && !found && budget > 0; ++index) {
        AccessiblePtr application(atspi_accessible_get_child_at_index(desktop.get(), index, nullptr));
        if (application) {
          found = findFocused(application.get(), budget);
        }
      }
    }
    return found ? std::make_shared<AtspiElement>(std::move(found)) : nullptr;
  }

  std::optional<QString> selectedText() const override {
    return accessible_ ? selectionOf(accessible_.get()) : std::nullopt;
  }

  // AT-SPI has no per-application switch of an enhanced interface: applications built on Chromium
  // expose their tree once an assistive client such as this one is on the accessibility bus.
  void setAttribute(const QString&, bool) override {}

private:
  AccessiblePtr accessible_;
};

class AtspiTree final : public AccessibilityTree {
public:
  std::shared_ptr<AccessibilityElement> systemWide() override {
    if (!available()) {
      return nullptr;
    }
    return std::make_shared<AtspiElement>(nullptr);
  }

  std::shared_ptr<AccessibilityElement> application(qint64 processIdentifier) override {
    if (!available()) {
      return nullptr;
    }
    AccessiblePtr desktop(atspi_get_desktop(0));
    const gint count = desktop ? atspi_accessible_get_child_count(desktop.get(), nullptr) : 0;
    for (gint index = 0; index < count; ++index) {
      AccessiblePtr application(atspi_accessible_get_child_at_index(desktop.get(), index, nullptr));
      if (application && atspi_accessible_get_process_id(application.get(), nullptr) == processIdentifier) {
        return std::make_shared<AtspiElement>(std::move(application));
      }
    }
    return nullptr;
  }

private:
  // Asks for the accessibility bus once; without one (or without a session bus) AT-SPI is never
  // started, since it would wait for a bus that does not come.
  bool available() {
    if (!checked_) {
      checked_ = true;
      const QDBusConnection bus = QDBusConnection::sessionBus();
      if (bus.isConnected() && bus.interface()->isServiceRegistered("org.a11y.Bus").value()) {
        available_ = atspi_init() >= 0;
      }
    }
    return available_;
  }

  bool checked_ = false;
  bool available_ = false;
};

class FakeElement final : public AccessibilityElement {
public:
  using Resolver = std::function<std::shared_ptr<AccessibilityElement>(const QString&)>;
  using Setter = std::function<void(const QString&, bool)>;

  FakeElement(Resolver resolve, std::optional<QString> selection, Setter set)
      : resolve_(std::move(resolve)), selection_(std::move(selection)), set_(std::move(set)) {}

  std::shared_ptr<AccessibilityElement> element(const QString& attribute) const override {
    return resolve_ ? resolve_(attribute) : nullptr;
  }
  std::optional<QString> selectedText() const override { return selection_; }
  void setAttribute(const QString& attribute, bool value) override {
    if (set_) {
      set_(attribute, value);
    }
  }

private:
  Resolver resolve_;
  std::optional<QString> selection_;
  Setter set_;
};

} // namespace

AccessibilityTree& AccessibilityTree::shared() {
  return Installed<AccessibilityTree>::get([] { return std::make_unique<AtspiTree>(); });
}

std::unique_ptr<AccessibilityTree> AccessibilityTree::setShared(std::unique_ptr<AccessibilityTree> replacement) {
  return Installed<AccessibilityTree>::replace(std::move(replacement));
}

void FakeAccessibilityTree::setFocusedElement(bool focused, std::optional<QString> selection) {
  focused_ = focused;
  selection_ = std::move(selection);
}

std::shared_ptr<AccessibilityElement> FakeAccessibilityTree::systemWide() {
  std::shared_ptr<AccessibilityElement> focused;
  if (focused_) {
    focused = std::make_shared<FakeElement>(nullptr, selection_, nullptr);
  }
  return std::make_shared<FakeElement>(
      [focused](const QString& attribute) { return attribute == focusedElementAttribute ? focused : nullptr; },
      std::nullopt, nullptr);
}

std::shared_ptr<AccessibilityElement> FakeAccessibilityTree::application(qint64 processIdentifier) {
  auto sets = attributeSets_;
  return std::make_shared<FakeElement>(nullptr, std::nullopt,
                                       [sets, processIdentifier](const QString& attribute, bool value) {
                                         sets->push_back({processIdentifier, attribute, value});
                                       });
}

} // namespace grellan
