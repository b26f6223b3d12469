#include "zunto/thread_wait.hpp"

namespace zunto {

void thread_wait::wait_notice() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return notice_; });
}

bool thread_wait::wait_notice_for(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, timeout, [this] { return notice_; });
}

void thread_wait::notify() {
  {
    std::lock_guard lock(mutex_);
    notice_ = true;
  }
  cv_.notify_all();
}

std::shared_ptr<thread_wait> make_thread_wait() {
  // The constructor stays protected; this derived type exists only to reach it.
  struct constructible final : thread_wait {};
  return std::make_shared<constructible>();
}

} // namespace zunto
