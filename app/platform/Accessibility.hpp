#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace grellan {

// An element of the desktop's accessibility tree.
class AccessibilityElement {
public:
  virtual ~AccessibilityElement() = default;
  // The attribute's value when it is an element ("AXFocusedUIElement"); null otherwise.
  virtual std::shared_ptr<AccessibilityElement> element(const QString& attribute) const = 0;
  // The "AXSelectedText" attribute when the element has text; "" for an empty selection.
  virtual std::optional<QString> selectedText() const = 0;
  // Sets a Boolean attribute; whether it took is not reported.
  virtual void setAttribute(const QString& attribute, bool value) = 0;
};

// The platform's accessibility interface: AT-SPI where the session has an accessibility bus, else
// a tree without elements, so every query has no value.
class AccessibilityTree {
public:
  virtual ~AccessibilityTree() = default;
  // The element that answers for the whole desktop.
  virtual std::shared_ptr<AccessibilityElement> systemWide() = 0;
  // The application with that process id; null when it has none.
  virtual std::shared_ptr<AccessibilityElement> application(qint64 processIdentifier) = 0;

  static AccessibilityTree& shared();
  // AT-SPI through `library`, loaded at the first query on a session with an accessibility bus;
  // tests name a missing one.
  static std::unique_ptr<AccessibilityTree> atspi(const QString& library);
  // Installs the process's tree (null: back to AT-SPI); returns the previous one.
  static std::unique_ptr<AccessibilityTree> setShared(std::unique_ptr<AccessibilityTree> replacement);
};

// A tree that tests set up: one focused element with a selection (or none), and a record of the
// attributes set on applications.
class FakeAccessibilityTree final : public AccessibilityTree {
public:
  struct AttributeSet {
    qint64 processIdentifier;
    QString attribute;
    bool value;
    bool operator==(const AttributeSet&) const = default;
  };

  // No focused element while `focused` is false; `selection` empty: the element has no text.
  void setFocusedElement(bool focused, std::optional<QString> selection = std::nullopt);
  const std::vector<AttributeSet>& attributeSets() const { return *attributeSets_; }

  std::shared_ptr<AccessibilityElement> systemWide() override;
  std::shared_ptr<AccessibilityElement> application(qint64 processIdentifier) override;

private:
  bool focused_ = false;
  std::optional<QString> selection_;
  std::shared_ptr<std::vector<AttributeSet>> attributeSets_ = std::make_shared<std::vector<AttributeSet>>();
};

} // namespace grellan
