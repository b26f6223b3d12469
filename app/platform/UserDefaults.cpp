#include "platform/UserDefaults.hpp"

#include "platform/Installed.hpp"

#include <QHash>
#include <QSettings>

#include <utility>

namespace grellan {
namespace {

class SettingsStorage final : public UserDefaultsStorage {
public:
  SettingsStorage() : settings_(QSettings::NativeFormat, QSettings::UserScope, "grellan", "grellan") {}

  std::optional<QVariant> read(const QString& key) const override {
    if (!settings_.contains(key)) {
      return std::nullopt;
    }
    return settings_.value(key);
  }

  void write(const QString& key, const QVariant& value) override {
    settings_.setValue(key, value);
    settings_.sync();
  }

  void remove(const QString& key) override {
    settings_.remove(key);
    settings_.sync();
  }

private:
  mutable QSettings settings_;
};

class MemoryStorage final : public UserDefaultsStorage {
public:
  std::optional<QVariant> read(const QString& key) const override {
    const auto found = values_.constFind(key);
    if (found == values_.constEnd()) {
      return std::nullopt;
    }
    return found.value();
  }

  void write(const QString& key, const QVariant& value) override { values_.insert(key, value); }
  void remove(const QString& key) override { values_.remove(key); }

private:
  QHash<QString, QVariant> values_;
};

} // namespace

std::unique_ptr<UserDefaultsStorage> makeSettingsStorage() { return std::make_unique<SettingsStorage>(); }
std::unique_ptr<UserDefaultsStorage> makeMemoryStorage() { return std::make_unique<MemoryStorage>(); }

UserDefaults::UserDefaults(std::unique_ptr<UserDefaultsStorage> storage) : storage_(std::move(storage)) {}

UserDefaults& UserDefaults::standard() {
  return Installed<UserDefaults>::get([] { return std::make_unique<UserDefaults>(makeSettingsStorage()); });
}

std::unique_ptr<UserDefaults> UserDefaults::setStandard(std::unique_ptr<UserDefaults> replacement) {
  return Installed<UserDefaults>::replace(std::move(replacement));
}

std::optional<QVariant> UserDefaults::value(const QString& key) const { return storage_->read(key); }

// The settings file keeps text, so each typed read also accepts the text form of its type.
std::optional<bool> UserDefaults::boolValue(const QString& key) const {
  const auto stored = value(key);
  if (!stored) {
    return std::nullopt;
  }
  if (stored->typeId() == QMetaType::Bool) {
    return stored->toBool();
  }
  const QString text = stored->toString();
  if (text == "true" || text == "false") {
    return text == "true";
  }
  bool ok = false;
  const double number = stored->toDouble(&ok);
  return ok ? std::optional<bool>(number != 0.0) : std::nullopt;
}

std::optional<qint64> UserDefaults::integerValue(const QString& key) const {
  const auto stored = value(key);
  if (!stored) {
    return std::nullopt;
  }
  bool ok = false;
  const qlonglong number = stored->toLongLong(&ok);
  return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<double> UserDefaults::doubleValue(const QString& key) const {
  const auto stored = value(key);
  if (!stored) {
    return std::nullopt;
  }
  bool ok = false;
  const double number = stored->toDouble(&ok);
  return ok ? std::optional<double>(number) : std::nullopt;
}

std::optional<QString> UserDefaults::stringValue(const QString& key) const {
  const auto stored = value(key);
  if (!stored || !stored->canConvert<QString>() || stored->typeId() == QMetaType::QStringList) {
    return std::nullopt;
  }
  return stored->toString();
}

std::optional<QStringList> UserDefaults::stringListValue(const QString& key) const {
  const auto stored = value(key);
  if (!stored) {
    return std::nullopt;
  }
  if (stored->typeId() == QMetaType::QStringList || stored->typeId() == QMetaType::QVariantList) {
    return stored->toStringList();
  }
  // The settings file reads a one-element list back as plain text, and an empty one as "".
  if (stored->typeId() == QMetaType::QString) {
    const QString text = stored->toString();
    return text.isEmpty() ? QStringList() : QStringList{text};
  }
  return std::nullopt;
}

void UserDefaults::setValue(const QString& key, const QVariant& value) {
  storage_->write(key, value);
  observers_.deliver(key, value);
}

void UserDefaults::remove(const QString& key) {
  storage_->remove(key);
  observers_.deliver(key, std::nullopt);
}

ObservationToken UserDefaults::observe(const QString& key, bool initial, Observer observer) {
  if (initial) {
    observer(value(key));
  }
  return observers_.add(key, std::move(observer));
}

} // namespace grellan
