#include "zunto/filesystem/file_identity.hpp"

#include <sys/stat.h>

namespace zunto::filesystem {

file_identity file_identity::of(const struct stat& status) {
  return file_identity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                       static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                       static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

std::optional<file_identity> file_identity::of(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    return std::nullopt;
  }
  return of(status);
}

std::optional<file_identity> file_identity::of(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return std::nullopt;
  }
  return of(status);
}

} // namespace zunto::filesystem
