#include "zunto/osx/system_preferences/properties.hpp"

namespace zunto::osx::system_preferences {

void to_json(nlohmann::json& json, const properties& value) {
  auto keyboard_types = nlohmann::json::array();
  for (const auto& [key, keyboard_type] : value.get_keyboard_types()) {
    keyboard_types.push_back(nlohmann::json::array({key, keyboard_type}));
  }
  json = nlohmann::json{
      {"use_fkeys_as_standard_function_keys", value.get_use_fkeys_as_standard_function_keys()},
      {"scroll_direction_is_natural", value.get_scroll_direction_is_natural()},
      {"keyboard_types", std::move(keyboard_types)},
  };
}

} // namespace zunto::osx::system_preferences
