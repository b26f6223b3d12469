#include "platform/UserDefaults.hpp"

#include "platform/Installed.hpp"
#include "platform/ReplaceableFile.hpp"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>

namespace grellan {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.settings")

// QSettings opens its file blocking and reads it again when it changed, so a FIFO at the path would
// hang the application. It works on a private copy instead: the settings file is read once, through
// ReplaceableFile, and every change writes the copy's bytes back.
class SettingsStorage final : public UserDefaultsStorage {
public:
  SettingsStorage()
      : path_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/grellan.conf"),
        copyFolder_(QDir::tempPath() + "/grellan-settings-XXXXXX") {
    const QString copy = copyFolder_.filePath("grellan.conf");
    if (QFile file(copy); file.open(QIODevice::WriteOnly)) {
      file.write(ReplaceableFile::read(path_).bytes);
    } else {
      qCWarning(logger, "Cannot read the settings: no working copy in %s (%s)", qUtf8Printable(QDir::tempPath()),
                qUtf8Printable(file.errorString()));
    }
    settings_ = std::make_unique<QSettings>(copy, QSettings::IniFormat);
  }

  std::optional<QVariant> read(const QString& key) const override {
    if (!settings_->contains(key)) {
      return std::nullopt;
    }
    return settings_->value(key);
  }

  void write(const QString& key, const QVariant& value) override {
    settings_->setValue(key, value);
    save();
  }

  void remove(const QString& key) override {
    settings_->remove(key);
    save();
  }

private:
  void save() {
    settings_->sync();
    QFile copy(settings_->fileName());
    std::optional<QString> error = copy.open(QIODevice::ReadOnly) ? ReplaceableFile::write(path_, copy.readAll())
                                                                  : std::optional<QString>(copy.errorString());
    // Once until a save succeeds again: a slider's drag writes many times.
    if (error && !saveFailing_) {
      qCWarning(logger, "Cannot save the settings to %s: %s", qUtf8Printable(path_), qUtf8Printable(*error));
    }
    saveFailing_ = error.has_value();
  }

  const QString path_;
  QTemporaryDir copyFolder_;
  std::unique_ptr<QSettings> settings_;
  bool saveFailing_ = false;
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
