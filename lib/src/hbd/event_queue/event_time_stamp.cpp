#include "hbd/event_queue/event_time_stamp.hpp"

namespace hbd::event_queue {

event_time_stamp::event_time_stamp(const event_time_stamp& other) {
  std::lock_guard lock(other.mutex_);
  time_stamp_ = other.time_stamp_;
  input_delay_ = other.input_delay_;
}

event_time_stamp& event_time_stamp::operator=(const event_time_stamp& other) {
  if (this != &other) {
    std::scoped_lock lock(mutex_, other.mutex_);
    time_stamp_ = other.time_stamp_;
    input_delay_ = other.input_delay_;
  }
  return *this;
}

zunto::osx::chrono::absolute_time_point event_time_stamp::get_time_stamp() const {
  std::lock_guard lock(mutex_);
  return time_stamp_;
}

void event_time_stamp::set_time_stamp(zunto::osx::chrono::absolute_time_point value) {
  std::lock_guard lock(mutex_);
  time_stamp_ = value;
}

zunto::osx::chrono::absolute_time_duration event_time_stamp::get_input_delay() const {
  std::lock_guard lock(mutex_);
  return input_delay_;
}

void event_time_stamp::set_input_delay(zunto::osx::chrono::absolute_time_duration value) {
  std::lock_guard lock(mutex_);
  input_delay_ = value;
}

zunto::osx::chrono::absolute_time_point event_time_stamp::make_time_stamp_with_input_delay() const {
  std::lock_guard lock(mutex_);
  return time_stamp_ + input_delay_;
}

} // namespace hbd::event_queue
