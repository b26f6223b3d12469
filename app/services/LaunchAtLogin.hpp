#pragma once

#include <QCheckBox>
#include <QObject>
#include <QString>

#include <optional>

namespace grellan {

// Starting the application at login, through the desktop's autostart entry
// $XDG_CONFIG_HOME/autostart/grellan.desktop. Nothing is cached: every read looks at the entry.
namespace LaunchAtLogin {

enum class Status { enabled, notRegistered, requiresApproval, notFound };

QString entryPath();
// Enabled exactly when the entry exists, is ours and would start this program at login; one of ours
// that is switched off or starts another copy of grellan awaits the user's approval.
Status status();
// Each returns the error's description on failure.
std::optional<QString> registerApp();
std::optional<QString> unregisterApp();

bool isEnabled();
// Switches the entry; a failure is logged, nothing more.
void setEnabled(bool enabled);

// Announces every switch, so each toggle shows the state again.
class Observable final : public QObject {
  Q_OBJECT

public:
  static Observable& shared();

signals:
  void changed();
};

// The ready-made switch; its label is "Launch at login" unless given.
class Toggle final : public QCheckBox {
  Q_OBJECT

public:
  explicit Toggle(QWidget* parent = nullptr);
  explicit Toggle(const QString& label, QWidget* parent = nullptr);

private:
  void refresh();
};

} // namespace LaunchAtLogin
} // namespace grellan
