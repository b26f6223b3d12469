#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace zunto {

// A one-shot event: wait_notice blocks until notify has been called once; the notice is never cleared.
class thread_wait {
public:
  virtual ~thread_wait() = default;

  thread_wait(const thread_wait&) = delete;
  thread_wait& operator=(const thread_wait&) = delete;

  void wait_notice();
  // As wait_notice, but gives up after `timeout`; true when the notice came.
  bool wait_notice_for(std::chrono::milliseconds timeout);
  void notify();

protected:
  thread_wait() = default;

private:
  bool notice_ = false;
  std::mutex mutex_;
  std::condition_variable cv_;
};

std::shared_ptr<thread_wait> make_thread_wait();

} // namespace zunto
