#include "hbd/manipulator/modifier_definition.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace hbd::manipulator::modifier_definition {

namespace {

constexpr std::array<std::pair<std::string_view, modifier>, 20> names{{
    {"any", modifier::any},
    {"caps_lock", modifier::caps_lock},
    {"command", modifier::command},
    {"control", modifier::control},
    {"fn", modifier::fn},
    {"left_command", modifier::left_command},
    {"left_gui", modifier::left_command},
    {"left_control", modifier::left_control},
    {"left_option", modifier::left_option},
    {"left_alt", modifier::left_option},
    {"left_shift", modifier::left_shift},
    {"option", modifier::option},
    {"right_command", modifier::right_command},
    {"right_gui", modifier::right_command},
    {"right_control", modifier::right_control},
    {"right_option", modifier::right_option},
    {"right_alt", modifier::right_option},
    {"right_shift", modifier::right_shift},
    {"shift", modifier::shift},
    {"end_", modifier::end_},
}};

} // namespace

void from_json(const nlohmann::json& json, modifier& value) {
  zunto::json::requires_string(json, "`modifier`");
  const auto& name = json.get_ref<const std::string&>();
  for (const auto& [listed, listed_value] : names) {
    if (listed == name) {
      value = listed_value;
      return;
    }
  }
  throw zunto::json::unmarshal_error("unknown modifier: `" + name + "`");
}

std::set<modifier> make_modifiers(const nlohmann::json& json) {
  std::set<modifier> result;
  modifier value = modifier::any;
  if (json.is_array()) {
    for (const auto& entry : json) {
      from_json(entry, value);
      result.insert(value);
    }
  } else if (json.is_string()) {
    from_json(json, value);
    result.insert(value);
  } else {
    throw zunto::json::unmarshal_error("json must be array or string, but is `" +
                                       zunto::json::dump_for_error_message(json) + "`");
  }
  return result;
}

std::vector<modifier_flag> get_modifier_flags(modifier value) {
  switch (value) {
    case modifier::caps_lock:
      return {modifier_flag::caps_lock};
    case modifier::command:
      return {modifier_flag::left_command, modifier_flag::right_command};
    case modifier::control:
      return {modifier_flag::left_control, modifier_flag::right_control};
    case modifier::fn:
      return {modifier_flag::fn};
    case modifier::left_command:
      return {modifier_flag::left_command};
    case modifier::left_control:
      return {modifier_flag::left_control};
    case modifier::left_option:
      return {modifier_flag::left_option};
    case modifier::left_shift:
      return {modifier_flag::left_shift};
    case modifier::option:
      return {modifier_flag::left_option, modifier_flag::right_option};
    case modifier::right_command:
      return {modifier_flag::right_command};
    case modifier::right_control:
      return {modifier_flag::right_control};
    case modifier::right_option:
      return {modifier_flag::right_option};
    case modifier::right_shift:
      return {modifier_flag::right_shift};
    case modifier::shift:
      return {modifier_flag::left_shift, modifier_flag::right_shift};
    case modifier::any:
    case modifier::end_:
      break;
  }
  return {};
}

} // namespace hbd::manipulator::modifier_definition
