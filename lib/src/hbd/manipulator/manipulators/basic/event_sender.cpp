#include "hbd/manipulator/manipulators/basic/event_sender.hpp"

#include "hbd/manipulator/manipulators/base.hpp"
#include "zunto/osx/chrono/conversion.hpp"

#include <set>

namespace hbd::manipulator::manipulators::basic::event_sender {

namespace {

using zunto::osx::chrono::absolute_time_duration;

void post(const event_queue::entry& front, const event_queue::event& e, event_type type, bool lazy,
          absolute_time_duration& time_stamp_delay, event_queue::queue& output) {
  event_queue::event_time_stamp stamp(front.get_event_time_stamp());
  stamp.set_time_stamp(stamp.get_time_stamp() + time_stamp_delay);
  time_stamp_delay += absolute_time_duration(1);
  output.emplace_back_entry(front.get_device_id(), stamp, e, type, front.get_original_event(), front.get_event_origin(),
                            event_queue::state::manipulated, lazy);
}

void post_modifier(const event_queue::entry& front, const momentary_switch_event& key, event_type type, bool lazy,
                   absolute_time_duration& time_stamp_delay, event_queue::queue& output) {
  base::post_lazy_modifier_key_event(key, type, front.get_device_id(), front.get_event_time_stamp(), time_stamp_delay,
                                     front.get_original_event(), front.get_event_origin(), output, lazy);
}

void hold(const to_event_definition& to, absolute_time_duration& time_stamp_delay) {
  time_stamp_delay += zunto::osx::chrono::make_absolute_time_duration(to.get_hold_down_milliseconds());
}

// Modifier keys, caps lock and a mouse key without movement keep the to-event's own lazy flag for
// their modifiers.
bool modifier_like(const event_queue::event& e) {
  if (const auto key = e.get_momentary_switch_event()) {
    return key->make_modifier_flag().has_value() ||
           *key == momentary_switch_event::make_from_modifier_flag(modifier_flag::caps_lock);
  }
  if (const auto* key = e.find<mouse_key>(); key != nullptr && e.get_type() == event_queue::event::type::mouse_key) {
    return key->x == 0 && key->y == 0 && key->vertical_wheel == 0 && key->horizontal_wheel == 0;
  }
  return false;
}

} // namespace

void post_from_mandatory_modifiers_key_up(const event_queue::entry& front_input_entry,
                                          manipulated_original_event& current, absolute_time_duration& time_stamp_delay,
                                          event_queue::queue& output_event_queue) {
  std::set<modifier_flag> flags;
  auto& lifted = current.get_lifted_from_mandatory_modifiers();
  for (const auto flag : current.get_from_mandatory_modifiers()) {
    if (!lifted.contains(flag) && output_event_queue.get_modifier_flag_manager().is_pressed(flag)) {
      flags.insert(flag);
      lifted.insert(flag);
    }
  }
  base::post_lazy_modifier_key_events(flags, event_type::key_up, front_input_entry.get_device_id(),
                                      front_input_entry.get_event_time_stamp(), time_stamp_delay,
                                      front_input_entry.get_original_event(), front_input_entry.get_event_origin(),
                                      output_event_queue);
}

void post_from_mandatory_modifiers_key_down(const event_queue::entry& front_input_entry,
                                            manipulated_original_event& current,
                                            absolute_time_duration& time_stamp_delay,
                                            event_queue::queue& output_event_queue) {
  std::set<modifier_flag> flags;
  auto& lifted = current.get_lifted_from_mandatory_modifiers();
  for (const auto flag : current.get_from_mandatory_modifiers()) {
    if (lifted.contains(flag)) {
      flags.insert(flag);
      lifted.erase(flag);
    }
  }
  base::post_lazy_modifier_key_events(flags, event_type::key_down, front_input_entry.get_device_id(),
                                      front_input_entry.get_event_time_stamp(), time_stamp_delay,
                                      front_input_entry.get_original_event(), front_input_entry.get_event_origin(),
                                      output_event_queue);
}

void post_events_at_key_down(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                             std::vector<to_event_definition> to_events, absolute_time_duration& time_stamp_delay,
                             event_queue::queue& output_event_queue) {
  if (current.get_halted()) {
    return;
  }
  for (std::size_t i = 0; i < to_events.size(); ++i) {
    const auto& to = to_events[i];
    const auto e = to.get_event_definition().to_event();
    if (!e) {
      continue;
    }
    const bool last = i + 1 == to_events.size();
    const auto modifier_events = to.make_modifier_events();
    const bool like_modifier = modifier_like(*e);

    for (const auto& key : modifier_events) {
      post_modifier(front_input_entry, key, event_type::key_down, like_modifier ? to.get_lazy() : true,
                    time_stamp_delay, output_event_queue);
    }

    post(front_input_entry, *e, event_type::key_down, to.get_lazy(), time_stamp_delay, output_event_queue);
    if (to.get_halt()) {
      current.set_halted();
    }

    if (last && to.get_repeat()) {
      current.get_events_at_key_up().push_back({front_input_entry.get_device_id(), *e, event_type::key_up,
                                                front_input_entry.get_original_event(),
                                                front_input_entry.get_event_origin(), to.get_lazy()});
    } else {
      hold(to, time_stamp_delay);
      post(front_input_entry, *e, event_type::key_up, to.get_lazy(), time_stamp_delay, output_event_queue);
    }

    for (const auto& key : modifier_events) {
      if (like_modifier && last) {
        const auto [lazy_event, lazy_type] = base::make_lazy_modifier_key_event(key, event_type::key_up);
        current.get_events_at_key_up().push_back({front_input_entry.get_device_id(), lazy_event, lazy_type,
                                                  front_input_entry.get_original_event(),
                                                  front_input_entry.get_event_origin(), true});
      } else {
        post_modifier(front_input_entry, key, event_type::key_up, true, time_stamp_delay, output_event_queue);
      }
    }
  }
}

void post_events_at_key_up(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                           absolute_time_duration& time_stamp_delay, event_queue::queue& output_event_queue) {
  for (const auto& e : current.get_events_at_key_up()) {
    event_queue::event_time_stamp stamp(front_input_entry.get_event_time_stamp());
    stamp.set_time_stamp(stamp.get_time_stamp() + time_stamp_delay);
    time_stamp_delay += absolute_time_duration(1);
    output_event_queue.emplace_back_entry(e.device_id, stamp, e.event, e.type, e.original_event, e.origin,
                                          event_queue::state::manipulated, e.lazy);
  }
  current.get_events_at_key_up().clear();
}

void post_extra_to_events(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                          const std::vector<to_event_definition>& to_events, absolute_time_duration& time_stamp_delay,
                          event_queue::queue& output_event_queue) {
  if (current.get_halted()) {
    return;
  }
  for (const auto& to : to_events) {
    const auto e = to.get_event_definition().to_event();
    if (!e) {
      continue;
    }
    const auto modifier_events = to.make_modifier_events();
    for (const auto& key : modifier_events) {
      post_modifier(front_input_entry, key, event_type::key_down, true, time_stamp_delay, output_event_queue);
    }
    post(front_input_entry, *e, event_type::key_down, to.get_lazy(), time_stamp_delay, output_event_queue);
    if (to.get_halt()) {
      current.set_halted();
    }
    hold(to, time_stamp_delay);
    post(front_input_entry, *e, event_type::key_up, to.get_lazy(), time_stamp_delay, output_event_queue);
    for (const auto& key : modifier_events) {
      post_modifier(front_input_entry, key, event_type::key_up, true, time_stamp_delay, output_event_queue);
    }
  }
}

} // namespace hbd::manipulator::manipulators::basic::event_sender
