#pragma once

#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace zunto::dispatcher::extra {

// A repeating timer that runs on its owner's dispatcher, as jobs of its owner. It is a member of
// the owner, which detaches before the timer is destroyed; destroying it while the owner is
// attached aborts.
class timer final {
public:
  explicit timer(const dispatcher_client& owner);
  ~timer();

  timer(const timer&) = delete;
  timer& operator=(const timer&) = delete;

  // Calls `function` at once, then every `interval` after each tick. A new start replaces the
  // previous one. Safe from any thread.
  void start(std::function<void()> function, std::chrono::milliseconds interval);

  // Safe from any thread; takes effect when its job runs.
  void stop();

  bool enabled() const { return enabled_; }

private:
  void tick(std::uint32_t function_id);

  const dispatcher_client& owner_;
  // Touched only on the dispatcher thread. Unsigned, so that a long-lived timer's count wraps.
  std::uint32_t current_function_id_ = 0;
  std::function<void()> function_;
  std::chrono::milliseconds interval_{0};

  std::atomic<bool> enabled_ = false;
};

} // namespace zunto::dispatcher::extra
