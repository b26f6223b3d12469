#include "platform/Accessibility.hpp"

#include "platform/Installed.hpp"
#include "platform/LoadedLibrary.hpp"

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

// AT-SPI's functions, typed as its header declares them. GObject's and GLib's come through it, as
// its dependencies.
struct Atspi {
  explicit Atspi(const QString& fileName) : library(fileName) {
    complete = library.resolve(init, "atspi_init") && library.resolve(getDesktop, "atspi_get_desktop") &&
               library.resolve(childCount, "atspi_accessible_get_child_count") &&
               library.resolve(childAtIndex, "atspi_accessible_get_child_at_index") &&
               library.resolve(stateSet, "atspi_accessible_get_state_set") &&
               library.resolve(stateSetContains, "atspi_state_set_contains") &&
               library.resolve(processId, "atspi_accessible_get_process_id") &&
               library.resolve(textInterface, "atspi_accessible_get_text_iface") &&
               library.resolve(selectionCount, "atspi_text_get_n_selections") &&
               library.resolve(selection, "atspi_text_get_selection") && library.resolve(text, "atspi_text_get_text") &&
               library.resolve(objectUnref, "g_object_unref") && library.resolve(freeMemory, "g_free");
  }

  LoadedLibrary library;
  decltype(atspi_init)* init = nullptr;
  decltype(atspi_get_desktop)* getDesktop = nullptr;
  decltype(atspi_accessible_get_child_count)* childCount = nullptr;
  decltype(atspi_accessible_get_child_at_index)* childAtIndex = nullptr;
  decltype(atspi_accessible_get_state_set)* stateSet = nullptr;
  decltype(atspi_state_set_contains)* stateSetContains = nullptr;
  decltype(atspi_accessible_get_process_id)* processId = nullptr;
  decltype(atspi_accessible_get_text_iface)* textInterface = nullptr;
  decltype(atspi_text_get_n_selections)* selectionCount = nullptr;
  decltype(atspi_text_get_selection)* selection = nullptr;
  decltype(atspi_text_get_text)* text = nullptr;
  decltype(g_object_unref)* objectUnref = nullptr;
  decltype(g_free)* freeMemory = nullptr;
  bool complete = false;
};

// Owns one reference of an AT-SPI object.
struct Unref {
  decltype(g_object_unref)* unref;
  void operator()(AtspiAccessible* accessible) const { unref(accessible); }
};
using AccessiblePtr = std::unique_ptr<AtspiAccessible, Unref>;

AccessiblePtr own(const Atspi& atspi, AtspiAccessible* accessible) {
  return AccessiblePtr(accessible, Unref{atspi.objectUnref});
}

bool hasState(const Atspi& atspi, AtspiAccessible* accessible, AtspiStateType state) {
  AtspiStateSet* states = atspi.stateSet(accessible);
  if (states == nullptr) {
    return false;
  }
  const bool result = atspi.stateSetContains(states, state) != FALSE;
  atspi.objectUnref(states);
  return result;
}

// Depth first below `accessible`, not descending into what is not showing.
AccessiblePtr findFocused(const Atspi& atspi, AtspiAccessible* accessible, int& budget) {
  const gint count = atspi.childCount(accessible, nullptr);
  for (gint index = 0; index < count && budget > 0; ++index, --budget) {
    AccessiblePtr child = own(atspi, atspi.childAtIndex(accessible, index, nullptr));
    if (!child) {
      continue;
    }
    if (hasState(atspi, child.get(), ATSPI_STATE_FOCUSED)) {
      return child;
    }
    if (hasState(atspi, child.get(), ATSPI_STATE_SHOWING)) {
      if (auto found = findFocused(atspi, child.get(), budget)) {
        return found;
      }
    }
  }
  return own(atspi, nullptr);
}

std::optional<QString> selectionOf(const Atspi& atspi, AtspiAccessible* accessible) {
  AtspiText* text = atspi.textInterface(accessible);
  if (text == nullptr) {
    return std::nullopt;
  }
  QString result;
  const gint selections = atspi.selectionCount(text, nullptr);
  for (gint index = 0; index < selections; ++index) {
    AtspiRange* range = atspi.selection(text, index, nullptr);
    if (range == nullptr) {
      continue;
    }
    if (gchar* part = atspi.text(text, range->start_offset, range->end_offset, nullptr)) {
      result += QString::fromUtf8(part);
      atspi.freeMemory(part);
    }
    atspi.freeMemory(range);
  }
  atspi.objectUnref(text);
  return result;
}

class AtspiElement final : public AccessibilityElement {
public:
  // Null `accessible`: the system-wide element, which searches every application.
  AtspiElement(std::shared_ptr<const Atspi> atspi, AccessiblePtr accessible)
      : atspi_(std::move(atspi)), accessible_(std::move(accessible)) {}

  std::shared_ptr<AccessibilityElement> element(const QString& attribute) const override {
    if (attribute != focusedElementAttribute) {
      return nullptr;
    }
    const Atspi& atspi = *atspi_;
    int budget = searchLimit;
    AccessiblePtr found = own(atspi, nullptr);
    if (accessible_) {
      found = findFocused(atspi, accessible_.get(), budget);
    } else {
      AccessiblePtr desktop = own(atspi, atspi.getDesktop(0));
      // Only the active window's application holds the keyboard focus.
      const gint count = desktop ? atspi.childCount(desktop.get(), nullptr) : 0;
      for (gint index = 0; index < count && !found && budget > 0; ++index) {
        AccessiblePtr application = own(atspi, atspi.childAtIndex(desktop.get(), index, nullptr));
        if (application) {
          found = findFocused(atspi, application.get(), budget);
        }
      }
    }
    return found ? std::make_shared<AtspiElement>(atspi_, std::move(found)) : nullptr;
  }

  std::optional<QString> selectedText() const override {
    return accessible_ ? selectionOf(*atspi_, accessible_.get()) : std::nullopt;
  }

  // AT-SPI has no per-application switch of an enhanced interface: applications built on Chromium
  // expose their tree once an assistive client such as this one is on the accessibility bus.
  void setAttribute(const QString&, bool) override {}

private:
  // Kept by every element, so the functions outlive a tree that was replaced.
  std::shared_ptr<const Atspi> atspi_;
  AccessiblePtr accessible_;
};

class AtspiTree final : public AccessibilityTree {
public:
  explicit AtspiTree(QString library) : libraryName_(std::move(library)) {}

  std::shared_ptr<AccessibilityElement> systemWide() override {
    if (!available()) {
      return nullptr;
    }
    return std::make_shared<AtspiElement>(atspi_, own(*atspi_, nullptr));
  }

  std::shared_ptr<AccessibilityElement> application(qint64 processIdentifier) override {
    if (!available()) {
      return nullptr;
    }
    const Atspi& atspi = *atspi_;
    AccessiblePtr desktop = own(atspi, atspi.getDesktop(0));
    const gint count = desktop ? atspi.childCount(desktop.get(), nullptr) : 0;
    for (gint index = 0; index < count; ++index) {
      AccessiblePtr application = own(atspi, atspi.childAtIndex(desktop.get(), index, nullptr));
      if (application && atspi.processId(application.get(), nullptr) == processIdentifier) {
        return std::make_shared<AtspiElement>(atspi_, std::move(application));
      }
    }
    return nullptr;
  }

private:
  // Asks for the accessibility bus once; without one (or without a session bus) AT-SPI is neither
  // loaded nor started, since it would wait for a bus that does not come.
  bool available() {
    if (!checked_) {
      checked_ = true;
      const QDBusConnection bus = QDBusConnection::sessionBus();
      if (bus.isConnected() && bus.interface()->isServiceRegistered("org.a11y.Bus").value()) {
        auto atspi = std::make_shared<const Atspi>(libraryName_);
        if (atspi->complete && atspi->init() >= 0) {
          atspi_ = std::move(atspi);
        }
      }
    }
    return atspi_ != nullptr;
  }

  QString libraryName_;
  bool checked_ = false;
  std::shared_ptr<const Atspi> atspi_;
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
  return Installed<AccessibilityTree>::get([] { return atspi("libatspi.so.0"); });
}

std::unique_ptr<AccessibilityTree> AccessibilityTree::atspi(const QString& library) {
  return std::make_unique<AtspiTree>(library);
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
