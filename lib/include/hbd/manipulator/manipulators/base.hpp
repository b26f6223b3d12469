#pragma once

#include "hbd/event_queue/queue.hpp"
#include "hbd/manipulator/conditions/base.hpp"
#include "hbd/manipulator/manipulate_result.hpp"
#include "hbd/validity.hpp"
#include "zunto/osx/chrono/absolute_time_duration.hpp"
#include "zunto/osx/chrono/absolute_time_point.hpp"

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace hbd::manipulator::manipulators {

// What every manipulator offers to the code that processes the event queues. All of it runs on
// the shared dispatcher's thread, where the manipulators' timers run too.
class base {
public:
  virtual ~base() = default;

  virtual bool already_manipulated(const event_queue::entry& front_input_entry) = 0;

  virtual manipulate_result manipulate(event_queue::entry& front_input_entry,
                                       const event_queue::queue& input_event_queue,
                                       const std::shared_ptr<event_queue::queue>& output_event_queue,
                                       zunto::osx::chrono::absolute_time_point now) = 0;

  virtual bool active() const = 0;

  virtual bool needs_virtual_hid_pointing() const = 0;

  virtual void handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry& front_input_entry,
                                                                          event_queue::queue& output_event_queue) = 0;

  virtual void handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                             const event_queue::queue& output_event_queue,
                                             zunto::osx::chrono::absolute_time_point now) = 0;

  virtual void handle_pointing_device_event_from_event_tap(const event_queue::entry& front_input_entry,
                                                           event_queue::queue& output_event_queue) = 0;

  validity get_validity() const { return validity_; }
  void set_validity(validity value) { validity_ = value; }

  const std::vector<std::shared_ptr<conditions::base>>& get_conditions() const { return conditions_; }
  // For the owner that assembles rules for run time.
  void push_back_condition(std::shared_ptr<conditions::base> condition) { conditions_.push_back(std::move(condition)); }

  // The key of a lazy modifier: the key itself, but caps lock becomes a sticky caps lock.
  static std::pair<event_queue::event, event_type> make_lazy_modifier_key_event(const momentary_switch_event& key,
                                                                                event_type type);

  // Posts one lazy modifier key at the time stamp plus the delay counter, which then grows by one
  // unit. Nothing for a key with a zero usage page or usage.
  static void post_lazy_modifier_key_event(const momentary_switch_event& key, event_type type,
                                           zunto::osx::iokit_registry_entry_id::value_t device_id,
                                           const event_queue::event_time_stamp& time_stamp,
                                           zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                           const event_queue::event& original_event, event_origin origin,
                                           event_queue::queue& output_event_queue, bool lazy);

  // The key of each flag, in set order, as lazy entries.
  static void post_lazy_modifier_key_events(const std::set<modifier_flag>& flags, event_type type,
                                            zunto::osx::iokit_registry_entry_id::value_t device_id,
                                            const event_queue::event_time_stamp& time_stamp,
                                            zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                            const event_queue::event& original_event, event_origin origin,
                                            event_queue::queue& output_event_queue);

protected:
  base() = default;

  // True when every condition holds for the entry (all are evaluated).
  bool fulfill_conditions(const event_queue::entry& entry, const manipulator_environment& environment) const;

private:
  validity validity_ = validity::valid;
  std::vector<std::shared_ptr<conditions::base>> conditions_;
};

} // namespace hbd::manipulator::manipulators
