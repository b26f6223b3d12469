#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace platform::fsevents {

// Closes descriptors on a thread of its own: closing an inotify descriptor that held watches waits
// for the kernel (tens of milliseconds), which a stream's stop should not make its caller wait for.
// The thread runs while there is something to close and finishes when there is not.
class descriptor_closer final {
public:
  // The process-wide closer; never freed, so a close in flight at exit is not waited for.
  static descriptor_closer& get();

  // Takes `fd` over; closes it at once when no thread can be started. Waits while too many are
  // still to be closed.
  void close_later(int fd);
  // Returns once every descriptor taken over before the call is closed and the thread is done.
  void wait_until_closed();

private:
  descriptor_closer() = default;
  void run();

  std::mutex mutex_;
  std::condition_variable idle_;
  std::vector<int> queue_;
  // Taken over and not yet closed: the queue and the batch being closed.
  std::size_t unclosed_ = 0;
  bool running_ = false;
};

} // namespace platform::fsevents
