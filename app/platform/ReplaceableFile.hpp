#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace grellan {

// Files another program or the user can replace (the settings file, engine.json, the backend's
// state files, desktop entries): one of them may turn into a FIFO, a folder or a link to a device.
// They are opened only when they are regular files, never blocking, and up to a size cap.
namespace ReplaceableFile {

// Far above any file the application reads.
inline constexpr qint64 maximumSize = qint64{1} << 20;

struct Contents {
  enum class Status { read, absent, unreadable };
  Status status = Status::absent;
  QByteArray bytes;
  // Whether a regular file stands at the path (read or not): what a save would replace.
  bool regularFile = false;
};

// The file's bytes. A missing file is absent without a word; anything else that cannot be read (no
// regular file, too large, no permission) is unreadable, with one warning naming the path.
Contents read(const QString& path);

// For a reader that wants the open file rather than its bytes: opens the file as read() does and hands
// `parser` the descriptor, which it must leave open. The status and warning read() would give, without
// the bytes; unreadable, with a warning, when `parser` answers false.
Contents parse(const QString& path, const std::function<bool(int fd)>& parser);

// Replaces the file (the one a link leads to) with `bytes`, through a new file renamed over it once
// every byte reached the disk; on any failure the old file stays. Creates its missing folders for the
// user only; the file keeps the old one's mode (new: the user's only), never writable by others.
// Refuses when something else than a regular file stands there. The error's description on failure.
std::optional<QString> write(const QString& path, const QByteArray& bytes);

// Renames the file to the first free name of `path` + `suffix`, then `.2`, `.3` ... appended; never
// over an existing file. The new path, or nothing when no name was free or the rename failed.
std::optional<QString> keepAside(const QString& path, const QString& suffix);

} // namespace ReplaceableFile
} // namespace grellan
