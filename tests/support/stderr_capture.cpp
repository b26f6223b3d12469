#include "support/stderr_capture.hpp"

#include "support/temporary_directory.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace hbd_test {

stderr_capture::stderr_capture()
    : file_(::open(test_root().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600)), saved_(::dup(STDERR_FILENO)) {
  if (file_ < 0 || saved_ < 0) {
    throw std::runtime_error("stderr_capture: no file to write into");
  }
  std::fflush(stderr);
  ::dup2(file_, STDERR_FILENO);
}

stderr_capture::~stderr_capture() {
  std::fflush(stderr);
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
  ::close(file_);
}

std::string stderr_capture::text() const {
  std::fflush(stderr);
  std::string text;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t count = ::pread(file_, buffer, sizeof buffer, offset);
    if (count <= 0) {
      return text;
    }
    text.append(buffer, static_cast<std::size_t>(count));
    offset += count;
  }
}

} // namespace hbd_test
