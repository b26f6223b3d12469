#pragma once

#include <string>

namespace hbd_test {

// While it exists, whatever the process writes to its standard error (also from libraries and child
// processes that inherit it) goes into an unnamed file instead, whose text it returns.
class stderr_capture final {
public:
  stderr_capture();
  ~stderr_capture();

  stderr_capture(const stderr_capture&) = delete;
  stderr_capture& operator=(const stderr_capture&) = delete;

  // Everything written so far.
  std::string text() const;

private:
  int file_;
  int saved_;
};

} // namespace hbd_test
