#include "support/watchdog.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace hbd_test {

watchdog::watchdog(std::string what, std::chrono::seconds limit)
    : thread_([this, what = std::move(what), limit] {
        std::unique_lock lock(mutex_);
        if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
          std::fprintf(stderr, "watchdog: %s did not end within %lld s\n", what.c_str(),
                       static_cast<long long>(limit.count()));
          std::_Exit(3);
        }
      }) {}

watchdog::~watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

} // namespace hbd_test
