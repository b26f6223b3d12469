#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace hbd {

// Every message kind of the grabber's datagram protocol, written under "operation_type".
enum class operation_type : std::uint8_t {
  none,
  momentary_switch_event_arrived,
  observed_devices_updated,
  caps_lock_state_changed,
  console_user_id_changed,
  connect_console_user_server,
  system_preferences_updated,
  frontmost_application_changed,
  input_source_changed,
  set_app_icon,
  set_keyboard_type,
  set_variables,
  shell_command_execution,
  select_input_source,
  software_function,
  end_,
};

// The kind's name; `none` and values outside the enumeration are null.
void to_json(nlohmann::json& json, operation_type value);

} // namespace hbd
