#pragma once

#include "hbd/event_origin.hpp"
#include "hbd/event_queue/event.hpp"
#include "hbd/event_queue/event_time_stamp.hpp"
#include "hbd/event_queue/state.hpp"
#include "hbd/event_type.hpp"
#include "hbd/validity.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <mutex>

namespace hbd::event_queue {

// One queued event with where and when it came from. State, lazy and validity may be changed by
// other threads and are guarded by the entry's own mutex.
class entry final {
public:
  entry(zunto::osx::iokit_registry_entry_id::value_t device_id, const event_time_stamp& time_stamp,
        const event& queued_event, event_type type, const event& original_event, event_origin origin, state entry_state,
        bool lazy = false, validity entry_validity = validity::valid);

  // Every field but the mutex.
  entry(const entry& other);
  entry& operator=(const entry& other);

  zunto::osx::iokit_registry_entry_id::value_t get_device_id() const { return device_id_; }
  const event_time_stamp& get_event_time_stamp() const { return event_time_stamp_; }
  event_time_stamp& get_event_time_stamp() { return event_time_stamp_; }
  const event& get_event() const { return event_; }
  event_type get_event_type() const { return event_type_; }
  const event& get_original_event() const { return original_event_; }
  event_origin get_event_origin() const { return event_origin_; }

  validity get_validity() const;
  void set_validity(validity value);
  bool get_valid() const { return get_validity() == validity::valid; }

  state get_state() const;
  void set_state(state value);

  bool get_lazy() const;
  void set_lazy(bool value);

private:
  zunto::osx::iokit_registry_entry_id::value_t device_id_;
  event_time_stamp event_time_stamp_;
  validity validity_;
  state state_;
  bool lazy_;
  event event_;
  event_type event_type_;
  event original_event_;
  event_origin event_origin_;
  mutable std::mutex mutex_;
};

} // namespace hbd::event_queue
