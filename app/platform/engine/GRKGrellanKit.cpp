#include "platform/engine/GRKGrellanKit.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace grellan {
namespace {

const QString ignoredAppsKey = "ignoredApps";

bool& koinStarted() {
  static bool started = false;
  return started;
}

} // namespace

QString GRKJsonManager::filePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/engine.json";
}

QStringList GRKJsonManager::getIgnoredApps() const {
  QFile file(filePath());
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  const QJsonValue list = QJsonDocument::fromJson(file.readAll()).object().value(ignoredAppsKey);
  QStringList result;
  for (const QJsonValue& entry : list.toArray()) {
    if (entry.isString()) {
      result.append(entry.toString());
    }
  }
  return result;
}

void GRKJsonManager::setIgnoredAppsIgnoredApps(const QStringList& ignoredApps) {
  const QString path = filePath();
  QDir().mkpath(QFileInfo(path).path());
  // Keeps whatever else the file holds.
  QJsonObject content;
  if (QFile existing(path); existing.open(QIODevice::ReadOnly)) {
    content = QJsonDocument::fromJson(existing.readAll()).object();
  }
  content.insert(ignoredAppsKey, QJsonArray::fromStringList(ignoredApps));
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(QJsonDocument(content).toJson());
    file.commit();
  }
}

GRKGrellanKit::GRKGrellanKit() = default;

QStringList GRKGrellanKit::getModificationNames() const {
  return {
      "Vim mode key: " + vimKey_,
      "Normal mode: h j k l move the cursor",
      "Normal mode: w b e move by words",
      "Normal mode: 0 $ move to the line's start and end",
      "Normal mode: x deletes, u undoes, p pastes",
      "Normal mode: i a o enter the Insert mode",
      "Normal mode: v enters the Visual mode",
      "Visual mode: y copies, d cuts",
  };
}

void GRKGrellanKit::setVimKeyVimKey(const QString& vimKey) { vimKey_ = vimKey; }

bool GRKKoinKt::doInitKoin() {
  koinStarted() = true;
  return true;
}

bool GRKKoinKt::initialized() { return koinStarted(); }

QStringList GRKGrellanKitKt::modifierKeys() {
  return {"left_control", "right_control", "left_shift",    "right_shift", "left_option",
          "right_option", "left_command",  "right_command", "caps_lock",   "fn"};
}

} // namespace grellan
