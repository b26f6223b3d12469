#include "shell/Snapshot.hpp"

#include "shell/WindowManager.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace grellan {
namespace {

bool save(QWidget& window, const QString& folder, const QString& name, QStringList& written) {
  QCoreApplication::processEvents();
  const QString path = QDir(folder).filePath(name + ".png");
  if (!window.grab().save(path)) {
    return false;
  }
  written.append(path);
  return true;
}

} // namespace

QStringList writeSnapshots(WindowManager& windowManager, const QString& folder) {
  QStringList written;
  if (!QDir().mkpath(folder)) {
    return written;
  }
  windowManager.showTutorialWindow();
  save(*windowManager.tutorialWindow(), folder, "tutorial", written);
  return written;
}

} // namespace grellan
