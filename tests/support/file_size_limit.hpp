#pragma once

#include <sys/resource.h>

namespace hbd_test {

// Files of this process may not grow beyond `limit` bytes for one test: the next write past it
// fails with EFBIG, as a write to a full disk fails.
class scoped_file_size_limit final {
public:
  explicit scoped_file_size_limit(rlim_t limit);
  ~scoped_file_size_limit();

  scoped_file_size_limit(const scoped_file_size_limit&) = delete;
  scoped_file_size_limit& operator=(const scoped_file_size_limit&) = delete;

private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

} // namespace hbd_test
