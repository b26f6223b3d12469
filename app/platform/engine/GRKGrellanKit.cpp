#include "platform/engine/GRKGrellanKit.hpp"

#include "platform/ReplaceableFile.hpp"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <utility>

namespace grellan {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.engine")

const QString ignoredAppsKey = "ignoredApps";
const QString vimKeyKey = "vimKey";
const QString defaultVimKey = "left_control";

bool& koinStarted() {
  static bool started = false;
  return started;
}

// The engine file's object; empty when it is missing, unreadable or holds no JSON object.
QJsonObject readEngineFile(const QString& path) {
  return QJsonDocument::fromJson(ReplaceableFile::read(path).bytes).object();
}

// Stores one key, keeping whatever else the file holds. A regular file that cannot be read back is
// the user's and is kept aside before it is replaced; a failure is logged.
void storeInEngineFile(const QString& path, const QString& key, const QJsonValue& value) {
  const auto contents = ReplaceableFile::read(path);
  const QJsonDocument document = QJsonDocument::fromJson(contents.bytes);
  QJsonObject content = document.object();
  const bool empty = contents.status == ReplaceableFile::Contents::Status::read && contents.bytes.trimmed().isEmpty();
  if (contents.regularFile && !empty && !document.isObject()) {
    const auto aside = ReplaceableFile::keepAside(path, ".unreadable");
    if (!aside) {
      qCWarning(logger, "Cannot store %s: %s cannot be read and could not be kept aside", qUtf8Printable(key),
                qUtf8Printable(path));
      return;
    }
    qCWarning(logger, "%s could not be read; it is kept as %s", qUtf8Printable(path), qUtf8Printable(*aside));
  }
  content.insert(key, value);
  if (const auto error = ReplaceableFile::write(path, QJsonDocument(content).toJson())) {
    qCWarning(logger, "Cannot store %s in %s: %s", qUtf8Printable(key), qUtf8Printable(path), qUtf8Printable(*error));
  }
}

} // namespace

GRKJsonManager::GRKJsonManager(QString file) : file_(std::move(file)) {}

QString GRKJsonManager::filePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/engine.json";
}

QStringList GRKJsonManager::getIgnoredApps() const {
  QStringList result;
  for (const QJsonValue& entry : readEngineFile(file_).value(ignoredAppsKey).toArray()) {
    if (entry.isString()) {
      result.append(entry.toString());
    }
  }
  return result;
}

void GRKJsonManager::setIgnoredAppsIgnoredApps(const QStringList& ignoredApps) {
  storeInEngineFile(file_, ignoredAppsKey, QJsonArray::fromStringList(ignoredApps));
}

GRKGrellanKit::GRKGrellanKit(const QString& file)
    : jsonManager_(file), vimKey_(readEngineFile(file).value(vimKeyKey).toString(defaultVimKey)) {}

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

void GRKGrellanKit::setVimKeyVimKey(const QString& vimKey) {
  if (vimKey == vimKey_) {
    return;
  }
  vimKey_ = vimKey;
  storeInEngineFile(jsonManager_.file(), vimKeyKey, vimKey);
}

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
