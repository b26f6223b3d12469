#include "zunto/filesystem/filesystem.hpp"

#include "zunto/filesystem/scoped_descriptor.hpp"
#include "zunto/filesystem/temporary_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

namespace zunto::filesystem {
namespace {

bool copy_content(int from, int to) {
  return platform::files::read_chunks(from, [to](std::string_view piece) { return write_all(to, piece); });
}

scoped_descriptor open_regular_file(const std::string& path) {
  return scoped_descriptor(platform::files::open_regular_file(path));
}

} // namespace

bool write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string parent_directory(std::string_view path) {
  if (path.empty()) {
    return ".";
  }
  if (path == "/") {
    return "/";
  }
  if (path.back() == '/') {
    path.remove_suffix(1);
  }
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    return ".";
  }
  if (slash == 0) {
    return "/";
  }
  return std::string(path.substr(0, slash));
}

bool create_directory_with_intermediate_directories(const std::string& path, std::uint16_t mode) {
  std::vector<std::string> missing;
  std::string current = path;
  struct stat status {};
  while (::stat(current.c_str(), &status) != 0) {
    missing.push_back(current);
    std::string parent = parent_directory(current);
    // "/" and "." are their own parents: stop rather than walk forever.
    if (parent == current) {
      break;
    }
    current = std::move(parent);
  }

  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    // Another process making the same folder at the same time is no failure.
    if (::mkdir(it->c_str(), mode) != 0 && errno != EEXIST) {
      return false;
    }
  }

  if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return false;
  }
  return ::chmod(path.c_str(), mode) == 0;
}

bool copy(const std::string& source, const std::string& destination) {
  const auto from = open_regular_file(source);
  if (!from) {
    return false;
  }

  auto [to, temporary_path] = temporary_file::create_beside(destination, 0666);
  if (!to) {
    return false;
  }

  bool ok = copy_content(from.get(), to.get());
  if (ok) {
    struct stat existing {};
    if (::stat(destination.c_str(), &existing) == 0) {
      ok = ::fchmod(to.get(), existing.st_mode & 07777) == 0;
      // Only the superuser can hand the file back to another owner; anyone else already owns it.
      if (ok && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        (void)::fchown(to.get(), existing.st_uid, existing.st_gid);
      }
    }
  }
  ok = ok && ::fsync(to.get()) == 0;
  ok = to.reset() && ok;
  ok = ok && ::rename(temporary_path.c_str(), destination.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary_path.c_str());
  }
  return ok;
}

bool copy_to_new_file(const std::string& source, const std::string& destination, std::uint16_t mode) {
  const auto from = open_regular_file(source);
  if (!from) {
    return false;
  }
  struct stat existing {};
  if (::lstat(destination.c_str(), &existing) == 0) {
    errno = EEXIST;
    return false;
  }

  auto [to, temporary_path] = temporary_file::create_beside(destination, mode);
  if (!to) {
    return false;
  }
  // The umask may have taken bits away at creation.
  bool ok = copy_content(from.get(), to.get()) && ::fchmod(to.get(), mode) == 0 && ::fsync(to.get()) == 0;
  ok = to.reset() && ok;
  int error = errno;
  if (ok) {
    // The final step refuses to replace: a destination made meanwhile by another process stays.
    if (::renameat2(AT_FDCWD, temporary_path.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) {
      return sync_directory(parent_directory(destination));
    }
    error = errno;
    // File systems without that kind of rename: a hard link fails the same way on an existing name.
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
      ok = ::link(temporary_path.c_str(), destination.c_str()) == 0;
      error = errno;
    } else {
      ok = false;
    }
  }
  ::unlink(temporary_path.c_str());
  if (ok) {
    return sync_directory(parent_directory(destination));
  }
  errno = error;
  return false;
}

bool sync_directory(const std::string& path) {
  scoped_descriptor directory(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!directory) {
    return false;
  }
  if (::fsync(directory.get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
    return false;
  }
  return true;
}

std::optional<std::string> resolve_symbolic_links(const std::string& path) {
  // As many links as the kernel follows in one path before it gives up.
  constexpr int maximum_links = 40;
  std::string current = path;
  for (int links = 0; links <= maximum_links; ++links) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      return current;
    }
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
      return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(length));
    if (target.empty()) {
      return std::nullopt;
    }
    if (target.front() != '/') {
      const auto slash = current.rfind('/');
      target = slash == std::string::npos ? target : current.substr(0, slash + 1) + target;
    }
    current = std::move(target);
  }
  return std::nullopt;
}

} // namespace zunto::filesystem
