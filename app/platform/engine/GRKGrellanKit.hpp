#pragma once

#include <QString>
#include <QStringList>

// A stand-in for the modal-editing engine the application hosts. It keeps the Vim key and the
// ignored applications and names its modifications; it edits no keys.
namespace grellan {

// The engine's store, $XDG_CONFIG_HOME/grellan/engine.json: the ignored applications and the Vim key.
// A list that cannot be stored is logged, and the file then keeps what it held; an unreadable file
// is kept aside as engine.json.unreadable before a new list replaces it.
class GRKJsonManager final {
public:
  // The store in `file`; filePath() unless the engine works on scratch data.
  explicit GRKJsonManager(QString file = filePath());

  // The bundle identifiers the engine ignores; empty when the file is missing or unreadable.
  QStringList getIgnoredApps() const;
  // Stores the whole list.
  void setIgnoredAppsIgnoredApps(const QStringList& ignoredApps);

  static QString filePath();
  const QString& file() const { return file_; }

private:
  QString file_;
};

// The engine's facade. It starts with the Vim key the engine file keeps and stores every new one.
class GRKGrellanKit final {
public:
  // Keeps its store in `file`: filePath(), or a scratch file that leaves the user's alone.
  explicit GRKGrellanKit(const QString& file = GRKJsonManager::filePath());

  GRKJsonManager& jsonManager() { return jsonManager_; }
  QStringList getModificationNames() const;
  void setVimKeyVimKey(const QString& vimKey);
  const QString& vimKey() const { return vimKey_; }

private:
  GRKJsonManager jsonManager_;
  QString vimKey_;
};

// The engine's start-up.
struct GRKKoinKt final {
  // Readies the engine's dependency container; must come before the first facade. Repeated calls do
  // nothing more.
  static bool doInitKoin();
  static bool initialized();
};

// The engine's static values.
struct GRKGrellanKitKt final {
  // The key names the Vim mode key may take.
  static QStringList modifierKeys();
};

} // namespace grellan
