#pragma once

#include "zunto/dispatcher/time_source.hpp"

#include <atomic>
#include <cstdint>

namespace hbd_test {

// A dispatcher clock that moves only when the test moves it.
class fake_time_source final : public zunto::dispatcher::time_source {
public:
  explicit fake_time_source(std::int64_t milliseconds) : now_(milliseconds) {}

  zunto::dispatcher::time_point now() const override {
    ++reads_;
    return zunto::dispatcher::time_point(now_.load());
  }

  void set(std::int64_t milliseconds) { now_ = milliseconds; }
  void advance(std::int64_t milliseconds) { now_ += milliseconds; }

  // How often now() was called: tells a test that a dispatcher has looked at the clock.
  std::uint64_t reads() const { return reads_; }

private:
  std::atomic<std::int64_t> now_;
  mutable std::atomic<std::uint64_t> reads_ = 0;
};

} // namespace hbd_test
