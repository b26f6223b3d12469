#include "platform/OpenPanel.hpp"

#include "platform/DesktopEntry.hpp"
#include "platform/ReplaceableFile.hpp"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace grellan {
namespace {

std::optional<QUrl> runFileDialog(const OpenPanel& panel) {
  QFileDialog dialog;
  dialog.setDirectoryUrl(panel.directoryURL);
  dialog.setFileMode(panel.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedUrls().constLast();
}

OpenPanel::Runner& installedRunner() {
  static OpenPanel::Runner runner;
  return runner;
}

} // namespace

int OpenPanel::runModal() {
  const auto& runner = installedRunner();
  url_ = runner ? runner(*this) : runFileDialog(*this);
  return url_ ? okResponse : cancelResponse;
}

OpenPanel::Runner OpenPanel::setRunner(Runner runner) { return std::exchange(installedRunner(), std::move(runner)); }

std::optional<QString> fullPathForApplication(const QString& appName) {
  if (appName.isEmpty() || appName.contains('/')) {
    return std::nullopt;
  }
  const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, appName);
  if (path.isEmpty()) {
    return std::nullopt;
  }
  return path;
}

std::optional<QString> bundleIdentifierOfApplication(const QString& path) {
  const QFileInfo file(path);
  if (file.suffix() != "desktop") {
    return std::nullopt;
  }
  const auto entry = ReplaceableFile::read(path);
  if (entry.status != ReplaceableFile::Contents::Status::read ||
      desktopEntryKeys(entry.bytes).value("Type") != "Application") {
    return std::nullopt;
  }
  const QString identifier = file.completeBaseName();
  return identifier.isEmpty() ? std::nullopt : std::optional<QString>(identifier);
}

} // namespace grellan
