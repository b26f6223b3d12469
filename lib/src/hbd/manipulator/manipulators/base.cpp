#include "hbd/manipulator/manipulators/base.hpp"

namespace hbd::manipulator::manipulators {

bool base::fulfill_conditions(const event_queue::entry& entry, const manipulator_environment& environment) const {
  bool fulfilled = true;
  for (const auto& condition : conditions_) {
    if (!condition->is_fulfilled(entry, environment)) {
      fulfilled = false;
    }
  }
  return fulfilled;
}

std::pair<event_queue::event, event_type> base::make_lazy_modifier_key_event(const momentary_switch_event& key,
                                                                             event_type type) {
  if (key == momentary_switch_event::make_from_modifier_flag(modifier_flag::caps_lock)) {
    return {event_queue::event::make_sticky_modifier_event(modifier_flag::caps_lock, type == event_type::key_down
                                                                                         ? sticky_modifier_type::on
                                                                                         : sticky_modifier_type::off),
            event_type::single};
  }
  return {event_queue::event(key), type};
}

void base::post_lazy_modifier_key_event(const momentary_switch_event& key, event_type type,
                                        zunto::osx::iokit_registry_entry_id::value_t device_id,
                                        const event_queue::event_time_stamp& time_stamp,
                                        zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                        const event_queue::event& original_event, event_origin origin,
                                        event_queue::queue& output_event_queue, bool lazy) {
  if (key.get_usage_pair().get_usage_page() == zunto::hid::usage_page::value_t{0} ||
      key.get_usage_pair().get_usage() == zunto::hid::usage::value_t{0}) {
    return;
  }
  const auto [lazy_event, lazy_type] = make_lazy_modifier_key_event(key, type);
  event_queue::event_time_stamp stamp(time_stamp);
  stamp.set_time_stamp(stamp.get_time_stamp() + time_stamp_delay);
  time_stamp_delay += zunto::osx::chrono::absolute_time_duration(1);
  output_event_queue.emplace_back_entry(device_id, stamp, lazy_event, lazy_type, original_event, origin,
                                        event_queue::state::manipulated, lazy);
}

void base::post_lazy_modifier_key_events(const std::set<modifier_flag>& flags, event_type type,
                                         zunto::osx::iokit_registry_entry_id::value_t device_id,
                                         const event_queue::event_time_stamp& time_stamp,
                                         zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                         const event_queue::event& original_event, event_origin origin,
                                         event_queue::queue& output_event_queue) {
  for (const auto flag : flags) {
    if (const auto key = momentary_switch_event::make_from_modifier_flag(flag)) {
      post_lazy_modifier_key_event(*key, type, device_id, time_stamp, time_stamp_delay, original_event, origin,
                                   output_event_queue, true);
    }
  }
}

} // namespace hbd::manipulator::manipulators
