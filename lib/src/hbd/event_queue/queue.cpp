#include "hbd/event_queue/queue.hpp"

#include <utility>

namespace hbd::event_queue {

namespace {

using record = modifier_flag_manager::active_modifier_flag;

bool modifier_key(const momentary_switch_event& key) { return key.make_modifier_flag().has_value(); }

} // namespace

void queue::emplace_back_entry(zunto::osx::iokit_registry_entry_id::value_t device_id,
                               const event_time_stamp& time_stamp, const event& queued_event, event_type type,
                               const event& original_event, event_origin origin, state entry_state, bool lazy,
                               validity entry_validity) {
  event_time_stamp adjusted(time_stamp);
  adjusted.set_time_stamp(adjusted.get_time_stamp() + time_stamp_delay_);

  entries_.emplace_back(device_id, adjusted, queued_event, type, original_event, origin, entry_state, lazy,
                        entry_validity);
  // Appends keep the queue in order, so only the new entry can need to move.
  sort_events_from(entries_.size() < 2 ? 0 : entries_.size() - 2);

  apply_effects(device_id, queued_event, type, origin, entry_validity);
}

void queue::push_back_entry(const entry& value) {
  emplace_back_entry(value.get_device_id(), value.get_event_time_stamp(), value.get_event(), value.get_event_type(),
                     value.get_original_event(), value.get_event_origin(), value.get_state(), value.get_lazy(),
                     value.get_validity());
}

void queue::apply_effects(zunto::osx::iokit_registry_entry_id::value_t device_id, const event& queued_event,
                          event_type type, event_origin origin, validity entry_validity) {
  if (const auto* key = queued_event.find<momentary_switch_event>()) {
    const auto flag = key->make_modifier_flag();
    if (origin == event_origin::grabbed_device) {
      if (flag) {
        modifier_flag_manager_.push_back_active_modifier_flag(
            record(type == event_type::key_down ? record::type::increase : record::type::decrease, *flag, device_id));
      }
      if (key->get_usage_pair().get_usage_page() == zunto::hid::usage_page::button) {
        using button = pointing_button_manager::active_pointing_button;
        pointing_button_manager_.push_back_active_pointing_button(
            button(type == event_type::key_down ? button::type::increase : button::type::decrease,
                   key->get_usage_pair(), device_id));
      }
    }
    if (type == event_type::key_down && entry_validity == validity::valid && !flag) {
      modifier_flag_manager_.erase_all_sticky_modifier_flags();
    }
  } else if (const auto caps_lock_state = queued_event.get_integer_value()) {
    modifier_flag_manager_.push_back_active_modifier_flag(
        record(*caps_lock_state != 0 ? record::type::increase_led_lock : record::type::decrease_led_lock,
               modifier_flag::caps_lock, zunto::osx::iokit_registry_entry_id::value_t{0}));
  } else if (const auto sticky = queued_event.get_sticky_modifier();
             sticky && (type == event_type::key_down || type == event_type::single)) {
    const auto [flag, sticky_type] = *sticky;
    auto record_type = record::type::increase_sticky;
    if (sticky_type == sticky_modifier_type::off) {
      record_type = record::type::decrease_sticky;
    } else if (sticky_type == sticky_modifier_type::toggle) {
      for (const auto& existing : modifier_flag_manager_.get_active_modifier_flags()) {
        if (existing.get_modifier_flag() == flag && (existing.get_type() == record::type::increase_sticky ||
                                                     existing.get_type() == record::type::decrease_sticky)) {
          record_type = record::type::decrease_sticky;
          break;
        }
      }
    }
    modifier_flag_manager_.push_back_active_modifier_flag(record(record_type, flag, device_id));
  }

  if (queued_event.get_type() == event::type::device_grabbed) {
    if (const auto* properties = queued_event.find<device_properties>()) {
      manipulator_environment_.get_device_properties_manager().insert(device_id, *properties);
    }
  } else if (queued_event.get_type() == event::type::device_ungrabbed) {
    manipulator_environment_.get_device_properties_manager().erase(device_id);
  }

  if (const auto application = queued_event.get_frontmost_application()) {
    manipulator_environment_.set_frontmost_application(*application);
  }
  if (const auto properties = queued_event.get_input_source_properties()) {
    manipulator_environment_.set_input_source_properties(*properties);
  }
  if (const auto set_variable = queued_event.get_set_variable()) {
    if (type == event_type::key_down && set_variable->name && set_variable->value) {
      manipulator_environment_.set_variable(*set_variable->name, *set_variable->value);
    } else if (type == event_type::key_up && set_variable->name && set_variable->key_up_value) {
      manipulator_environment_.set_variable(*set_variable->name, *set_variable->key_up_value);
    }
  }
  if (const auto* properties = queued_event.find<zunto::osx::system_preferences::properties>()) {
    manipulator_environment_.set_system_preferences_properties(*properties);
  }
  if (const auto* state = queued_event.find<virtual_hid_devices_state>()) {
    manipulator_environment_.set_virtual_hid_devices_state(*state);
    manipulator_environment_.async_save_to_file();
  }
}

void queue::sort_events() { sort_events_from(0); }

void queue::sort_events_from(std::size_t start) {
  if (entries_.size() < 2) {
    return;
  }
  std::size_t i = start;
  while (i < entries_.size() - 1) {
    if (needs_swap(entries_[i], entries_[i + 1])) {
      const entry moved = entries_[i];
      entries_[i] = entries_[i + 1];
      entries_[i + 1] = moved;
      if (i > 0) {
        --i;
      }
    } else {
      ++i;
    }
  }
}

bool queue::needs_swap(const entry& a, const entry& b) {
  if (a.get_event_time_stamp().get_time_stamp() != b.get_event_time_stamp().get_time_stamp()) {
    return false;
  }
  const auto* a_key = a.get_event().find<momentary_switch_event>();
  const auto* b_key = b.get_event().find<momentary_switch_event>();
  if (a_key == nullptr || b_key == nullptr) {
    return false;
  }
  const bool a_modifier = modifier_key(*a_key);
  const bool b_modifier = modifier_key(*b_key);
  return (a_modifier && !b_modifier && a.get_event_type() == event_type::key_up) ||
         (!a_modifier && b_modifier && b.get_event_type() != event_type::key_up);
}

} // namespace hbd::event_queue
