#include "platform/UserDefaults.hpp"

#include "platform/Installed.hpp"
#include "platform/ReplaceableFile.hpp"
#include "platform/SettingsText.hpp"

#include <QFile>
#include <QLoggingCategory>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace grellan {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.settings")

// Values in memory only; the settings file's storage keeps its values in one between saves.
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
  void clear() { values_.clear(); }

  const QMap<QString, QVariant>& values() const { return values_; }

private:
  QMap<QString, QVariant> values_;
};

// The settings file is read once, through ReplaceableFile (QSettings would open a FIFO at the path
// blocking, and read the file again whenever it changed); the values then live in memory and every
// change writes the whole file from them. Nothing else is written: with no room for a file, the
// settings read at start still hold.
class SettingsStorage final : public UserDefaultsStorage {
public:
  SettingsStorage()
      : path_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/grellan/grellan.conf") {
    const auto contents = ReplaceableFile::parse(path_, [this](int fd) { return readSettings(fd); });
    // A file that is there but cannot be read is the user's: it is kept, never written over.
    unreadable_ = contents.status == ReplaceableFile::Contents::Status::unreadable && contents.regularFile;
    if (unreadable_) {
      values_.clear();
    }
  }

  std::optional<QVariant> read(const QString& key) const override { return values_.read(key); }

  void write(const QString& key, const QVariant& value) override {
    values_.write(key, value);
    save();
  }

  void remove(const QString& key) override {
    values_.remove(key);
    save();
  }

private:
  // QSettings opens a path, here the one that names the open file, and takes what it read as a whole.
  bool readSettings(int fd) {
    const QString openFile = QString("/proc/self/fd/%1").arg(fd);
    // Without /proc that name leads nowhere, and QSettings would read no settings at all from it.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::stat(QFile::encodeName(openFile).constData(), &named) != 0 ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
      return false;
    }
    bool read = false;
    {
      const QSettings settings(openFile, QSettings::IniFormat);
      for (const QString& key : settings.allKeys()) {
        values_.write(key, settings.value(key));
      }
      read = settings.status() == QSettings::NoError;
    }
    // QSettings remembers a file by its name and trusts that while its size and time stay: a later file
    // at the same descriptor number could read as this one. An empty file under the name ends that.
    if (const int empty = ::open("/dev/null", O_RDONLY | O_CLOEXEC); empty >= 0) {
      ::dup3(empty, fd, O_CLOEXEC);
      ::close(empty);
      const QSettings forget(openFile, QSettings::IniFormat);
    }
    return read;
  }

  void save() {
    std::optional<QString> error;
    if (unreadable_) {
      if (const auto aside = ReplaceableFile::keepAside(path_, ".unreadable")) {
        qCWarning(logger, "%s could not be read; it is kept as %s", qUtf8Printable(path_), qUtf8Printable(*aside));
        unreadable_ = false;
      } else {
        error = QString("it cannot be read and could not be kept aside");
      }
    }
    if (!unreadable_) {
      error = ReplaceableFile::write(path_, settingsText(values_.values()));
    }
    // Once until a save succeeds again: a slider's drag writes many times.
    if (error && !saveFailing_) {
      qCWarning(logger, "Cannot save the settings to %s: %s", qUtf8Printable(path_), qUtf8Printable(*error));
    }
    saveFailing_ = error.has_value();
  }

  const QString path_;
  MemoryStorage values_;
  bool unreadable_ = false;
  bool saveFailing_ = false;
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
