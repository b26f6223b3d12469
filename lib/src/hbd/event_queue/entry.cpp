#include "hbd/event_queue/entry.hpp"

namespace hbd::event_queue {

entry::entry(zunto::osx::iokit_registry_entry_id::value_t device_id, const event_time_stamp& time_stamp,
             const event& queued_event, event_type type, const event& original_event, event_origin origin,
             state entry_state, bool lazy, validity entry_validity)
    : device_id_(device_id),
      event_time_stamp_(time_stamp),
      validity_(entry_validity),
      state_(entry_state),
      lazy_(lazy),
      event_(queued_event),
      event_type_(type),
      original_event_(original_event),
      event_origin_(origin) {}

entry::entry(const entry& other)
    : device_id_(other.device_id_),
      event_time_stamp_(other.event_time_stamp_),
      event_(other.event_),
      event_type_(other.event_type_),
      original_event_(other.original_event_),
      event_origin_(other.event_origin_) {
  std::lock_guard lock(other.mutex_);
  validity_ = other.validity_;
  state_ = other.state_;
  lazy_ = other.lazy_;
}

entry& entry::operator=(const entry& other) {
  if (this == &other) {
    return *this;
  }
  device_id_ = other.device_id_;
  event_time_stamp_ = other.event_time_stamp_;
  event_ = other.event_;
  event_type_ = other.event_type_;
  original_event_ = other.original_event_;
  event_origin_ = other.event_origin_;
  std::scoped_lock lock(mutex_, other.mutex_);
  validity_ = other.validity_;
  state_ = other.state_;
  lazy_ = other.lazy_;
  return *this;
}

validity entry::get_validity() const {
  std::lock_guard lock(mutex_);
  return validity_;
}

void entry::set_validity(validity value) {
  std::lock_guard lock(mutex_);
  validity_ = value;
}

state entry::get_state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void entry::set_state(state value) {
  std::lock_guard lock(mutex_);
  state_ = value;
}

bool entry::get_lazy() const {
  std::lock_guard lock(mutex_);
  return lazy_;
}

void entry::set_lazy(bool value) {
  std::lock_guard lock(mutex_);
  lazy_ = value;
}

} // namespace hbd::event_queue
