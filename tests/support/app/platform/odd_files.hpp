#pragma once

#include <QString>

#include <filesystem>

namespace grellan_test {

// What a user or another program can put where the application expects a regular file.
enum class OddFile { fifo, folder, linkToDevice };
inline constexpr OddFile oddFiles[] = {OddFile::fifo, OddFile::folder, OddFile::linkToDevice};

const char* name(OddFile kind);
// Replaces whatever is at `path` by `kind`, creating the folders above it. A FIFO has no writer, so a
// blocking open of it never returns; the link leads to /dev/zero, which never ends.
void plant(const std::filesystem::path& path, OddFile kind);
inline void plant(const QString& path, OddFile kind) { plant(std::filesystem::path(path.toStdString()), kind); }
// Whether `kind` still stands at `path`.
bool stillThere(const std::filesystem::path& path, OddFile kind);

} // namespace grellan_test
