#include "descriptor_closer.hpp"

#include <unistd.h>

#include <cstddef>
#include <system_error>
#include <utility>

namespace platform::fsevents {
namespace {

// Each descriptor is an inotify instance, of which a user may have only a few (128 by default):
// past this many waiting to be closed, a caller waits for them instead of piling more up.
constexpr std::size_t unclosed_limit = 32;

} // namespace

descriptor_closer& descriptor_closer::get() {
  static descriptor_closer* instance = new descriptor_closer;
  return *instance;
}

void descriptor_closer::close_later(int fd) {
  std::thread finished;
  bool started = true;
  {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return unclosed_ < unclosed_limit; });
    queue_.push_back(fd);
    ++unclosed_;
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
      --unclosed_;
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
    unclosed_ -= closing.size();
    idle_.notify_all();
  }
  running_ = false;
  idle_.notify_all();
}

} // namespace platform::fsevents
