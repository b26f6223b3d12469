#pragma once

#include "zunto/dispatcher/time_source.hpp"

#include <atomic>
#include <cstdint>

namespace hbd_test {

// A dispatcher clock that moves only when the test moves it.
class fake_time_source final : public zunto::dispatcher::time_source {
public:
  explicit fake_time_source(std::int64_t milliseconds) : now_(milliseconds) {}

  zunto::dispatcher::time_point now() const override { return zunto::dispatcher::time_point(now_.load()); }

  void set(std::int64_t milliseconds) { now_ = milliseconds; }
  void advance(std::int64_t milliseconds) { now_ += milliseconds; }

private:
  std::atomic<std::int64_t> now_;
};

} // namespace hbd_test
