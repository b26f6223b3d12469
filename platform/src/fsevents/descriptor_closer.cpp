#include "descriptor_closer.hpp"

#include <unistd.h>

#include <system_error>
#include <utility>

namespace platform::fsevents {

descriptor_closer& descriptor_closer::get() {
  static descriptor_closer* instance = new descriptor_closer;
  return *instance;
}

void descriptor_closer::close_later(int fd) {
  std::thread finished;
  bool started = true;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(fd);
    if (running_) {
      return;
    }
    // The last thread has said it is done; it is joined outside the lock.
    finished = std::move(thread_);
    try {
      thread_ = std::thread([this] { run(); });
      running_ = true;
    } catch (const std::system_error&) {
      queue_.pop_back();
      started = false;
    }
  }
  if (!started) {
    ::close(fd);
  }
  if (finished.joinable()) {
    finished.join();
  }
}

void descriptor_closer::wait_until_closed() {
  std::thread finished;
  {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_; });
    finished = std::move(thread_);
  }
  if (finished.joinable()) {
    finished.join();
  }
}

void descriptor_closer::run() {
  std::unique_lock lock(mutex_);
  while (!queue_.empty()) {
    std::vector<int> closing;
    closing.swap(queue_);
    lock.unlock();
    for (const int fd : closing) {
      ::close(fd);
    }
    lock.lock();
  }
  running_ = false;
  idle_.notify_all();
}

} // namespace platform::fsevents
