#pragma once

#include "hbd/event_origin.hpp"
#include "hbd/event_queue/event.hpp"
#include "hbd/event_type.hpp"
#include "hbd/manipulator/manipulators/basic/manipulated_original_event/from_event.hpp"
#include "hbd/modifier_flag.hpp"
#include "zunto/osx/chrono/absolute_time_point.hpp"

#include <set>
#include <vector>

namespace hbd::manipulator::manipulators::basic::manipulated_original_event {

// One taken press of the "from" keys, alive from its key-down until all its keys are released.
class manipulated_original_event final {
public:
  // What is posted when the keys go up.
  struct events_at_key_up_entry {
    zunto::osx::iokit_registry_entry_id::value_t device_id;
    event_queue::event event;
    event_type type;
    event_queue::event original_event;
    event_origin origin;
    bool lazy;
  };

  manipulated_original_event(std::vector<from_event> from_events, std::set<modifier_flag> from_mandatory_modifiers,
                             zunto::osx::chrono::absolute_time_point key_down_time_stamp)
      : from_events_(std::move(from_events)),
        from_mandatory_modifiers_(std::move(from_mandatory_modifiers)),
        key_down_time_stamp_(key_down_time_stamp) {}

  // Held keys, each once.
  const std::vector<from_event>& get_from_events() const { return from_events_; }
  bool from_event_exists(const from_event& value) const;
  void erase_from_event(const from_event& value);
  // The keys of a device that is gone.
  void erase_from_events_by_device_id(zunto::osx::iokit_registry_entry_id::value_t device_id);

  const std::set<modifier_flag>& get_from_mandatory_modifiers() const { return from_mandatory_modifiers_; }
  std::set<modifier_flag>& get_lifted_from_mandatory_modifiers() { return lifted_from_mandatory_modifiers_; }

  zunto::osx::chrono::absolute_time_point get_key_down_time_stamp() const { return key_down_time_stamp_; }

  bool get_alone() const { return alone_; }
  void unset_alone() { alone_ = false; }

  bool get_halted() const { return halted_; }
  void set_halted() { halted_ = true; }

  std::vector<events_at_key_up_entry>& get_events_at_key_up() { return events_at_key_up_; }

  bool get_key_up_posted() const { return key_up_posted_; }
  void set_key_up_posted() { key_up_posted_ = true; }

private:
  std::vector<from_event> from_events_;
  std::set<modifier_flag> from_mandatory_modifiers_;
  std::set<modifier_flag> lifted_from_mandatory_modifiers_;
  zunto::osx::chrono::absolute_time_point key_down_time_stamp_;
  bool alone_ = true;
  bool halted_ = false;
  std::vector<events_at_key_up_entry> events_at_key_up_;
  bool key_up_posted_ = false;
};

} // namespace hbd::manipulator::manipulators::basic::manipulated_original_event
