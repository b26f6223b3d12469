#include "platform/ReplaceableFile.hpp"

#include "platform/files/regular_file.hpp"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace grellan::ReplaceableFile {
namespace {

Q_LOGGING_CATEGORY(logger, "org.grellan.files")

Contents unreadable(const QString& path, const QString& reason, bool regularFile) {
  qCWarning(logger, "Cannot read %s: %s", qUtf8Printable(path), qUtf8Printable(reason));
  return {Contents::Status::unreadable, {}, regularFile};
}

QString tooLarge() { return QString("it is larger than %1 bytes").arg(maximumSize); }

} // namespace

Contents read(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  // Without blocking: a FIFO with no writer would hold the open for ever.
  const auto bytes = platform::files::read_regular_file(name.toStdString(), static_cast<std::size_t>(maximumSize));
  if (bytes) {
    return {Contents::Status::read, QByteArray::fromStdString(*bytes), true};
  }
  const int error = errno;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return {};
    case EINVAL:
      return unreadable(path, "it is not a regular file", false);
    case EFBIG:
      return unreadable(path, tooLarge(), true);
    default: {
      struct stat status {};
      return unreadable(path, QString::fromLocal8Bit(std::strerror(error)),
                        ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode));
    }
  }
}

std::optional<QString> write(const QString& path, const QByteArray& bytes) {
  const QFileInfo entry(path);
  QString target = path;
  if (entry.exists()) {
    // A link (a dotfiles setup) stays a link: the file it leads to is replaced, only if it is one.
    target = entry.canonicalFilePath();
    if (!QFileInfo(target).isFile()) {
      return QString("%1 is not a regular file").arg(path);
    }
  } else if (entry.isSymLink()) {
    return QString("the link %1 leads nowhere").arg(path);
  }
  const QString folder = QFileInfo(target).absolutePath();
  if (!QDir().mkpath(folder)) {
    return QString("cannot create the folder %1").arg(folder);
  }
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return file.errorString();
  }
  return std::nullopt;
}

std::optional<QString> keepAside(const QString& path, const QString& suffix) {
  const QByteArray from = QFile::encodeName(path);
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const QString aside = attempt == 1 ? path + suffix : QString("%1%2.%3").arg(path, suffix).arg(attempt);
    // Never over an existing name, also when one appears between two attempts.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(aside).constData(), RENAME_NOREPLACE) ==
        0) {
      return aside;
    }
    if (errno != EEXIST) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

} // namespace grellan::ReplaceableFile
