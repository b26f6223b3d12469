#pragma once

#include <utility>

namespace zunto::filesystem {

// Owns a file descriptor (negative for none) and closes it when it goes.
class scoped_descriptor final {
public:
  explicit scoped_descriptor(int fd) : fd_(fd) {}
  ~scoped_descriptor() { reset(); }

  scoped_descriptor(const scoped_descriptor&) = delete;
  scoped_descriptor(scoped_descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  scoped_descriptor& operator=(const scoped_descriptor&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

  // Closes now and reports whether the close (where delayed write errors surface) worked.
  bool reset();

private:
  int fd_;
};

} // namespace zunto::filesystem
