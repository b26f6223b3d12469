#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace hbd_test {

// Events of an object under test, as short texts in the order they happened, taken from any
// thread; tests wait for the ones they expect.
class event_log final {
public:
  void add(const std::string& event);

  // Blocks until `event` has happened `count` times; false when the time runs out.
  bool wait_for(const std::string& event, std::size_t count = 1,
                std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  std::size_t count(const std::string& event) const;
  std::vector<std::string> events() const;
  void clear();

private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> events_;
};

} // namespace hbd_test
