#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QListWidget;
class QPushButton;

namespace grellan {

// The identifier of the application the desktop knows by this name; nothing when it knows none or
// the application has no identifier.
std::optional<QString> bundleIdentifier(const QString& appName);

// A list of application identifiers, each with a delete button, and a last row whose button asks
// the user for an application to add. Every change is announced with the whole list.
class ApplicationList final : public QWidget {
  Q_OBJECT

public:
  explicit ApplicationList(QWidget* parent = nullptr);

  void setIdentifiers(const QStringList& identifiers);
  const QStringList& identifiers() const { return identifiers_; }

  // Removes every entry equal to `item`, keeping the others' order.
  void deleteItem(const QString& item);
  // Runs the open panel on the applications folder and appends the chosen application's identifier,
  // also when it is already listed. A cancelled panel, an unknown application or a blank identifier
  // change nothing.
  void addApplication();

  QPushButton* addButton() const { return addButton_; }
  // The delete button of the row at `row`; null when there is no such row.
  QPushButton* deleteButton(int row) const;

signals:
  // An application was appended; `changed` follows.
  void added(const QStringList& identifiers);
  void changed(const QStringList& identifiers);

private:
  void rebuild();

  QStringList identifiers_;
  QListWidget* list_;
  QPushButton* addButton_ = nullptr;
};

} // namespace grellan
