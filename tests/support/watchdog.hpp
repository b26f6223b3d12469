#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace hbd_test {

// Ends the test process with a message naming `what` when it is still alive after `limit`, so that
// a hang shows as a prompt failure instead of a stuck run.
class watchdog final {
public:
  explicit watchdog(std::string what, std::chrono::seconds limit = std::chrono::seconds(20));
  ~watchdog();

  watchdog(const watchdog&) = delete;
  watchdog& operator=(const watchdog&) = delete;

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

} // namespace hbd_test
