#pragma once

#include "platform/ObservationToken.hpp"
#include "platform/ObserverRegistry.hpp"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace grellan {

// Where the user defaults keep their values.
class UserDefaultsStorage {
public:
  virtual ~UserDefaultsStorage() = default;
  virtual std::optional<QVariant> read(const QString& key) const = 0;
  virtual void write(const QString& key, const QVariant& value) = 0;
  virtual void remove(const QString& key) = 0;
};

// The QSettings file $XDG_CONFIG_HOME/grellan/grellan.conf.
std::unique_ptr<UserDefaultsStorage> makeSettingsStorage();
// Values held in memory only, for tests.
std::unique_ptr<UserDefaultsStorage> makeMemoryStorage();

// The application's settings: typed reads that tell an absent key from a stored value, writes, and
// observation of a key. Every write or removal notifies that key's observers synchronously.
// Main thread only.
class UserDefaults final {
public:
  // Called with the stored value, or nothing when the key is absent.
  using Observer = std::function<void(const std::optional<QVariant>&)>;

  explicit UserDefaults(std::unique_ptr<UserDefaultsStorage> storage);

  // The process's defaults: the settings file unless another one was installed.
  static UserDefaults& standard();
  // Installs the process's defaults (null: back to the settings file); returns the previous one.
  static std::unique_ptr<UserDefaults> setStandard(std::unique_ptr<UserDefaults> replacement);

  std::optional<QVariant> value(const QString& key) const;
  std::optional<bool> boolValue(const QString& key) const;
  std::optional<qint64> integerValue(const QString& key) const;
  std::optional<double> doubleValue(const QString& key) const;
  std::optional<QString> stringValue(const QString& key) const;
  std::optional<QStringList> stringListValue(const QString& key) const;

  void setValue(const QString& key, const QVariant& value);
  void remove(const QString& key);

  // With `initial`, the observer is called once at once with the current value; then after every
  // write or removal of the key.
  ObservationToken observe(const QString& key, bool initial, Observer observer);

private:
  std::unique_ptr<UserDefaultsStorage> storage_;
  ObserverRegistry<std::optional<QVariant>> observers_;
};

} // namespace grellan
