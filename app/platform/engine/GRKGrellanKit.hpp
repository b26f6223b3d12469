#pragma once

#include <QString>
#include <QStringList>

// A stand-in for the modal-editing engine the application hosts. It keeps the Vim key and the
// ignored applications and names its modifications; it edits no keys.
namespace grellan {

// The engine's store of ignored applications: $XDG_CONFIG_HOME/grellan/engine.json.
class GRKJsonManager final {
public:
  // The bundle identifiers the engine ignores; empty when the file is missing or unreadable.
  QStringList getIgnoredApps() const;
  // Stores the whole list.
  void setIgnoredAppsIgnoredApps(const QStringList& ignoredApps);

  static QString filePath();
};

// The engine's facade.
class GRKGrellanKit final {
public:
  GRKGrellanKit();

  GRKJsonManager& jsonManager() { return jsonManager_; }
  QStringList getModificationNames() const;
  void setVimKeyVimKey(const QString& vimKey);
  const QString& vimKey() const { return vimKey_; }

private:
  GRKJsonManager jsonManager_;
  QString vimKey_ = "left_control";
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
