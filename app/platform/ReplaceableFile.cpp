#include "platform/ReplaceableFile.hpp"

#include "platform/files/regular_file.hpp"

#include <QFileInfo>
#include <QLoggingCategory>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

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

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Creates the folder and those above it that are missing, each for its owner only, whatever the umask.
bool makeFolder(const QByteArray& folder) {
  if (struct stat status{}; ::stat(folder.constData(), &status) == 0) {
    errno = ENOTDIR;
    return S_ISDIR(status.st_mode);
  }
  const qsizetype slash = folder.lastIndexOf('/');
  if (slash > 0 && !makeFolder(folder.left(slash))) {
    return false;
  }
  if (::mkdir(folder.constData(), S_IRWXU) != 0) {
    return errno == EEXIST;
  }
  return ::chmod(folder.constData(), S_IRWXU) == 0;
}

// Goes on after short and interrupted writes; false, with errno set, at the first failure.
bool writeAll(int fd, const QByteArray& bytes) {
  const char* next = bytes.constData();
  auto left = static_cast<std::size_t>(bytes.size());
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// What read() answers when opening or reading the file failed with `error`.
Contents failed(const QString& path, int error) {
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
      return unreadable(path, errorText(error),
                        ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode));
    }
  }
}

} // namespace

Contents read(const QString& path) {
  // Without blocking: a FIFO with no writer would hold the open for ever.
  const auto bytes =
      platform::files::read_regular_file(QFile::encodeName(path).toStdString(), static_cast<std::size_t>(maximumSize));
  if (bytes) {
    return {Contents::Status::read, QByteArray::fromStdString(*bytes), true};
  }
  return failed(path, errno);
}

Contents parse(const QString& path, const std::function<bool(int fd)>& parser) {
  const int fd = platform::files::open_regular_file(QFile::encodeName(path).toStdString());
  if (fd < 0) {
    return failed(path, errno);
  }
  int error = 0;
  if (struct stat status{}; ::fstat(fd, &status) != 0) {
    error = errno;
  } else if (status.st_size > maximumSize) {
    error = EFBIG;
  }
  const bool parsed = error == 0 && parser(fd);
  ::close(fd);
  if (error != 0) {
    return failed(path, error);
  }
  if (!parsed) {
    return unreadable(path, "its contents cannot be read", true);
  }
  return {Contents::Status::read, {}, true};
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
  if (!makeFolder(QFile::encodeName(folder))) {
    return QString("cannot create the folder %1: %2").arg(folder, errorText(errno));
  }
  const QByteArray targetName = QFile::encodeName(target);
  // The old file's mode stays, but never writable by others: a login entry they could edit would run
  // their code as this user.
  mode_t mode = S_IRUSR | S_IWUSR;
  if (struct stat old{}; ::stat(targetName.constData(), &old) == 0) {
    mode = old.st_mode & (ALLPERMS & ~(S_IWGRP | S_IWOTH));
  }
  QByteArray temporary = QFile::encodeName(folder) + "/." + QFile::encodeName(QFileInfo(target).fileName()) + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return QString("cannot create a file in %1: %2").arg(folder, errorText(errno));
  }
  // Every byte must be on the disk before the rename: a full disk would otherwise leave an empty file.
  const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written || ::rename(temporary.constData(), targetName.constData()) != 0) {
    const int failure = written ? errno : error;
    ::unlink(temporary.constData());
    return QString("cannot write %1: %2").arg(target, errorText(failure));
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
