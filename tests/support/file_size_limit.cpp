#include "support/file_size_limit.hpp"

#include <csignal>

namespace hbd_test {

scoped_file_size_limit::scoped_file_size_limit(rlim_t limit) {
  // Ignored, the signal turns into the write's error.
  previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  ::getrlimit(RLIMIT_FSIZE, &previous_);
  rlimit lowered = previous_;
  lowered.rlim_cur = limit;
  ::setrlimit(RLIMIT_FSIZE, &lowered);
}

scoped_file_size_limit::~scoped_file_size_limit() {
  ::setrlimit(RLIMIT_FSIZE, &previous_);
  std::signal(SIGXFSZ, previous_handler_);
}

} // namespace hbd_test
