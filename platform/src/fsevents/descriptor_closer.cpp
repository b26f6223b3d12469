#include "descriptor_closer.hpp"

#include <unistd.h>

#include <cstddef>
#include <system_error>
#include <thread>

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
  {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return unclosed_ < unclosed_limit; });
    queue_.push_back(fd);
    ++unclosed_;
    if (running_) {
      return;
    }
    try {
      // Detached: after saying it is done under the lock it touches nothing but this never-freed
      // closer, so no one need join it, and none is left unjoined at exit.
      std::thread([this] { run(); }).detach();
      running_ = true;
      return;
    } catch (const std::system_error&) {
      queue_.pop_back();
      --unclosed_;
    }
  }
  ::close(fd);
}

void descriptor_closer::wait_until_closed() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_; });
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
