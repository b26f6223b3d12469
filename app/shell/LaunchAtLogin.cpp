#include "shell/LaunchAtLogin.hpp"

#include "shell/DesktopEntry.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace grellan::LaunchAtLogin {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.main")

// Marks the entries this application wrote, so a user's own entry of the same name is left alone.
const QString ownerKey = "X-Grellan-LoginItem";

std::optional<QString> valueOf(const QStringList& lines, const QString& key) {
  for (const QString& line : lines) {
    if (line.startsWith(key + "=")) {
      return line.mid(key.size() + 1).trimmed();
    }
  }
  return std::nullopt;
}

} // namespace

QString entryPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath("autostart/grellan.desktop");
}

Status status() {
  QFile file(entryPath());
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return Status::notRegistered;
  }
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
  if (valueOf(lines, ownerKey) != "true") {
    return Status::notFound;
  }
  if (valueOf(lines, "Hidden") == "true") {
    return Status::requiresApproval;
  }
  return Status::enabled;
}

std::optional<QString> registerApp() {
  const QFileInfo entry(entryPath());
  if (!QDir().mkpath(entry.absolutePath())) {
    return QString("Cannot create the folder %1.").arg(entry.absolutePath());
  }
  QSaveFile file(entry.absoluteFilePath());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
    return file.errorString();
  }
  QTextStream stream(&file);
  stream << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=grellan\n"
         << "Exec=" << desktopEntryExec(QCoreApplication::applicationFilePath()) << "\n"
         << "X-GNOME-Autostart-enabled=true\n"
         << ownerKey << "=true\n";
  stream.flush();
  if (!file.commit()) {
    return file.errorString();
  }
  return std::nullopt;
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
