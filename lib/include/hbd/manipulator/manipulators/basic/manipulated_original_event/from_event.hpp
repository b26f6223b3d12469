#pragma once

#include "hbd/event_queue/event.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

namespace hbd::manipulator::manipulators::basic::manipulated_original_event {

// One physical event taken by a manipulator.
class from_event final {
public:
  from_event(zunto::osx::iokit_registry_entry_id::value_t device_id, const event_queue::event& event,
             const event_queue::event& original_event)
      : device_id_(device_id), event_(event), original_event_(original_event) {}

  zunto::osx::iokit_registry_entry_id::value_t get_device_id() const { return device_id_; }
  const event_queue::event& get_event() const { return event_; }
  const event_queue::event& get_original_event() const { return original_event_; }

  bool operator==(const from_event&) const = default;

private:
  zunto::osx::iokit_registry_entry_id::value_t device_id_;
  event_queue::event event_;
  event_queue::event original_event_;
};

} // namespace hbd::manipulator::manipulators::basic::manipulated_original_event
