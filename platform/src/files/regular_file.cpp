#include "platform/files/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace platform::files {

int open_regular_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    return fd;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  return fd;
}

bool read_chunks(int fd, const std::function<bool(std::string_view)>& chunk) {
  std::array<char, std::size_t{64} * 1024> buffer;
  for (;;) {
    const ssize_t read = ::read(fd, buffer.data(), buffer.size());
    if (read < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (read == 0) {
      return true;
    }
    if (!chunk(std::string_view(buffer.data(), static_cast<std::size_t>(read)))) {
      return false;
    }
  }
}

std::optional<std::string> read_all(int fd, std::size_t max_size) {
  std::string data;
  // A regular file tells its size: one allocation, and an early answer for a file too large.
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size > max_size) {
      errno = EFBIG;
      return std::nullopt;
    }
    data.reserve(size);
  }
  const bool read = read_chunks(fd, [&](std::string_view piece) {
    // The size may have changed since fstat, or was never known.
    if (piece.size() > max_size - data.size()) {
      errno = EFBIG;
      return false;
    }
    data.append(piece);
    return true;
  });
  if (!read) {
    return std::nullopt;
  }
  return data;
}

std::optional<std::string> read_regular_file(const std::string& path, std::size_t max_size) {
  const int fd = open_regular_file(path);
  if (fd < 0) {
    return std::nullopt;
  }
  auto data = read_all(fd, max_size);
  const int error = errno;
  ::close(fd);
  errno = error;
  return data;
}

} // namespace platform::files
