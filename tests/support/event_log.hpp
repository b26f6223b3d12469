#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace hbd_test {

// Texts that signal slots and callbacks on other threads leave, in the order they arrived.
class event_log final {
public:
  void push(std::string text);

  // Blocks until at least `count` texts have arrived; false when the time runs out.
  bool wait_for_size(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Blocks until this text has arrived; false when the time runs out.
  bool wait_for(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Blocks until this text has arrived `count` times; false when the time runs out.
  bool wait_for_count(const std::string& text, std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  std::vector<std::string> texts() const;
  std::size_t count(const std::string& text) const;
  void clear();

private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> texts_;
};

} // namespace hbd_test
