#include "services/LaunchAtLogin.hpp"

#include "platform/DesktopEntry.hpp"
#include "platform/ReplaceableFile.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTextStream>

namespace grellan::LaunchAtLogin {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.main")

// Marks the entries this application wrote, so a user's own entry of the same name is left alone.
const QString ownerKey = "X-Grellan-LoginItem";

Status statusOf(const ReplaceableFile::Contents& entry) {
  if (entry.status != ReplaceableFile::Contents::Status::read) {
    return Status::notRegistered;
  }
  const auto keys = desktopEntryKeys(entry.bytes);
  if (keys.value(ownerKey) != "true") {
    return Status::notFound;
  }
  // Ours, but the desktop would not start this program with it: switched off by the user (the desktop's
  // "Hidden" or GNOME's own key), or written by a copy of grellan at another path, which may be gone.
  if (keys.value("Hidden") == "true" || keys.value("X-GNOME-Autostart-enabled") == "false" ||
      keys.value("Exec") != desktopEntryExec(QCoreApplication::applicationFilePath())) {
    return Status::requiresApproval;
  }
  return Status::enabled;
}

} // namespace

QString entryPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath("autostart/grellan.desktop");
}

Status status() { return statusOf(ReplaceableFile::read(entryPath())); }

std::optional<QString> registerApp() {
  // A user's own entry of that name (or one that cannot be read) is theirs: it moves aside, never away.
  if (const auto existing = ReplaceableFile::read(entryPath());
      existing.regularFile && statusOf(existing) != Status::enabled && statusOf(existing) != Status::requiresApproval) {
    const auto aside = ReplaceableFile::keepAside(entryPath(), ".user");
    if (!aside) {
      return QString("The entry %1 is not ours and could not be kept aside.").arg(entryPath());
    }
    qCWarning(logger, "The autostart entry %s was not grellan's; it is kept as %s", qUtf8Printable(entryPath()),
              qUtf8Printable(*aside));
  }
  QString text;
  QTextStream stream(&text);
  stream << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=grellan\n"
         << "Exec=" << desktopEntryExec(QCoreApplication::applicationFilePath()) << "\n"
         << "X-GNOME-Autostart-enabled=true\n"
         << ownerKey << "=true\n";
  stream.flush();
  return ReplaceableFile::write(entryPath(), text.toUtf8());
}

std::optional<QString> unregisterApp() {
  QFile file(entryPath());
  if (status() == Status::notRegistered || status() == Status::notFound) {
    return QString("The login item is not registered.");
  }
  if (!file.remove()) {
    return file.errorString();
  }
  return std::nullopt;
}

bool isEnabled() { return status() == Status::enabled; }

void setEnabled(bool enabled) {
  std::optional<QString> error;
  if (enabled) {
    if (status() == Status::enabled) {
      unregisterApp();
    }
    error = registerApp();
  } else {
    error = unregisterApp();
  }
  if (error) {
    qCCritical(logger, "Failed to %s launch at login: %s", enabled ? "enable" : "disable", qUtf8Printable(*error));
  }
  emit Observable::shared().changed();
}

Observable& Observable::shared() {
  static Observable observable;
  return observable;
}

Toggle::Toggle(QWidget* parent) : Toggle(tr("Launch at login"), parent) {}

Toggle::Toggle(const QString& label, QWidget* parent) : QCheckBox(label, parent) {
  refresh();
  connect(this, &QCheckBox::clicked, this, [](bool checked) { LaunchAtLogin::setEnabled(checked); });
  connect(&Observable::shared(), &Observable::changed, this, &Toggle::refresh);
}

void Toggle::refresh() {
  const QSignalBlocker blocker(this);
  setChecked(LaunchAtLogin::isEnabled());
}

} // namespace grellan::LaunchAtLogin
