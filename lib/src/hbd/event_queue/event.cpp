#include "hbd/event_queue/event.hpp"

namespace hbd::event_queue {

event event::make_shell_command_event(const std::string& command) { return event(type::shell_command, command); }

event event::make_select_input_source_event(const std::vector<zunto::osx::input_source_selector::specifier>& value) {
  return event(type::select_input_source, value);
}

event event::make_set_variable_event(const manipulator_environment_variable_set_variable& value) {
  return event(type::set_variable, value);
}

event event::make_set_notification_message_event(const notification_message& value) {
  return event(type::set_notification_message, value);
}

event event::make_mouse_key_event(const mouse_key& value) { return event(type::mouse_key, value); }

event event::make_sticky_modifier_event(modifier_flag flag, sticky_modifier_type sticky_type) {
  return event(type::sticky_modifier, std::pair(flag, sticky_type));
}

event event::make_software_function_event(const software_function& value) {
  return event(type::software_function, value);
}

event event::make_wait_marker_event() { return event(type::wait_marker, std::monostate{}); }

event event::make_device_grabbed_event(const device_properties& value) { return event(type::device_grabbed, value); }

event event::make_device_ungrabbed_event() { return event(type::device_ungrabbed, std::monostate{}); }

event event::make_caps_lock_state_changed_event(std::int64_t state) {
  return event(type::caps_lock_state_changed, state);
}

event event::make_frontmost_application_changed_event(
    const zunto::osx::frontmost_application_monitor::application& value) {
  return event(type::frontmost_application_changed, value);
}

event event::make_input_source_changed_event(const zunto::osx::input_source::properties& value) {
  return event(type::input_source_changed, value);
}

event event::make_system_preferences_properties_changed_event(const zunto::osx::system_preferences::properties& value) {
  return event(type::system_preferences_properties_changed, value);
}

event event::make_virtual_hid_devices_state_changed_event(const virtual_hid_devices_state& value) {
  return event(type::virtual_hid_devices_state_changed, value);
}

std::optional<momentary_switch_event> event::get_momentary_switch_event() const {
  return get_if_kind<momentary_switch_event>(type::momentary_switch_event);
}

std::optional<pointing_motion> event::get_pointing_motion() const {
  return get_if_kind<pointing_motion>(type::pointing_motion);
}

std::optional<std::int64_t> event::get_integer_value() const {
  return get_if_kind<std::int64_t>(type::caps_lock_state_changed);
}

std::optional<std::pair<modifier_flag, sticky_modifier_type>> event::get_sticky_modifier() const {
  return get_if_kind<std::pair<modifier_flag, sticky_modifier_type>>(type::sticky_modifier);
}

std::optional<zunto::osx::frontmost_application_monitor::application> event::get_frontmost_application() const {
  return get_if_kind<zunto::osx::frontmost_application_monitor::application>(type::frontmost_application_changed);
}

std::optional<zunto::osx::input_source::properties> event::get_input_source_properties() const {
  return get_if_kind<zunto::osx::input_source::properties>(type::input_source_changed);
}

std::optional<manipulator_environment_variable_set_variable> event::get_set_variable() const {
  return get_if_kind<manipulator_environment_variable_set_variable>(type::set_variable);
}

} // namespace hbd::event_queue
