#include "hbd/operation_type.hpp"

#include <array>
#include <string_view>

namespace hbd {

void to_json(nlohmann::json& json, operation_type value) {
  static constexpr std::array<std::string_view, 16> names = {
      "",
      "momentary_switch_event_arrived",
      "observed_devices_updated",
      "caps_lock_state_changed",
      "console_user_id_changed",
      "connect_console_user_server",
      "system_preferences_updated",
      "frontmost_application_changed",
      "input_source_changed",
      "set_app_icon",
      "set_keyboard_type",
      "set_variables",
      "shell_command_execution",
      "select_input_source",
      "software_function",
      "end_",
  };
  const auto index = static_cast<std::size_t>(value);
  if (index == 0 || index >= names.size()) {
    json = nullptr;
    return;
  }
  json = names[index];
}

} // namespace hbd
