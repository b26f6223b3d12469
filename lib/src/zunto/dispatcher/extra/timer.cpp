#include "zunto/dispatcher/extra/timer.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zunto::dispatcher::extra {

timer::timer(const dispatcher_client& owner) : owner_(owner) {}

timer::~timer() {
  if (owner_.attached()) {
    std::fputs("zunto::dispatcher::extra::timer is destroyed while its owner is attached\n", stderr);
    std::abort();
  }
}

void timer::start(std::function<void()> function, std::chrono::milliseconds interval) {
  enabled_.exchange(true);
  owner_.enqueue_to_dispatcher(
      [this, function = std::move(function), interval]() mutable {
        ++current_function_id_;
        function_ = std::move(function);
        interval_ = interval;
        tick(current_function_id_);
      },
      time_point(1));
}

void timer::stop() {
  enabled_.exchange(false);
  owner_.enqueue_to_dispatcher(
      [this] {
        ++current_function_id_;
        function_ = nullptr;
        interval_ = std::chrono::milliseconds(0);
      },
      time_point(1));
}

void timer::tick(std::uint32_t function_id) {
  // A tick of an earlier start, or one cancelled by stop, dies out here.
  if (current_function_id_ != function_id) {
    return;
  }
  // The call (a copy: a later stop or start cannot take it back; none when empty) and the next tick,
  // placed by the worker when this job returns: this is the tick's last act.
  owner_.enqueue_now_and_after_at_job_end(
      function_, [this, function_id] { tick(function_id); }, interval_);
}

} // namespace zunto::dispatcher::extra
