#pragma once

#include "zunto/osx/chrono/absolute_time_duration.hpp"
#include "zunto/osx/chrono/absolute_time_point.hpp"

#include <mutex>

namespace hbd::event_queue {

// When an event happened, and how long its input was held back.
class event_time_stamp final {
public:
  event_time_stamp() = default;
  explicit event_time_stamp(zunto::osx::chrono::absolute_time_point time_stamp,
                            zunto::osx::chrono::absolute_time_duration input_delay = {})
      : time_stamp_(time_stamp), input_delay_(input_delay) {}

  // Reads the source under its mutex; the copy has a mutex of its own.
  event_time_stamp(const event_time_stamp& other);
  event_time_stamp& operator=(const event_time_stamp& other);

  zunto::osx::chrono::absolute_time_point get_time_stamp() const;
  void set_time_stamp(zunto::osx::chrono::absolute_time_point value);

  zunto::osx::chrono::absolute_time_duration get_input_delay() const;
  void set_input_delay(zunto::osx::chrono::absolute_time_duration value);

  zunto::osx::chrono::absolute_time_point make_time_stamp_with_input_delay() const;

private:
  zunto::osx::chrono::absolute_time_point time_stamp_;
  zunto::osx::chrono::absolute_time_duration input_delay_;
  mutable std::mutex mutex_;
};

} // namespace hbd::event_queue
