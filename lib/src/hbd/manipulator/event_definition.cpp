#include "hbd/manipulator/event_definition.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <string_view>

namespace hbd::manipulator {

namespace {

constexpr std::array<std::string_view, 6> key_kinds{
    "key_code",        "consumer_key_code", "apple_vendor_keyboard_key_code", "apple_vendor_top_case_key_code",
    "pointing_button", "generic_desktop",
};

std::string dump(const nlohmann::json& json) { return zunto::json::dump_for_error_message(json); }

} // namespace

bool event_definition::handle_json(const std::string& key, const nlohmann::json& value, const nlohmann::json& json) {
  using json_reading::wrap_error;

  for (const auto kind : key_kinds) {
    if (key == kind) {
      check_type(json);
      value_ = wrap_error(key, [&] {
        momentary_switch_event event;
        from_json(nlohmann::json{{key, value}}, event);
        return event;
      });
      type_ = type::momentary_switch_event;
      return true;
    }
  }

  if (key == "any") {
    check_type(json);
    zunto::json::requires_string(value, "`" + key + "`");
    const auto& name = value.get_ref<const std::string&>();
    // Every key kind but the game-pad directions.
    for (std::size_t i = 0; i + 1 < key_kinds.size(); ++i) {
      if (name == key_kinds[i]) {
        value_ = static_cast<any_type>(i);
        type_ = type::any;
        return true;
      }
    }
    throw zunto::json::unmarshal_error("unknown `" + key + "`: `" + dump(value) + "`");
  }

  if (key == "shell_command") {
    check_type(json);
    zunto::json::requires_string(value, "`" + key + "`");
    value_ = value.get<std::string>();
    type_ = type::shell_command;
    return true;
  }

  if (key == "select_input_source") {
    check_type(json);
    std::vector<zunto::osx::input_source_selector::specifier> specifiers;
    if (value.is_object()) {
      wrap_error(key, [&] { from_json(value, specifiers.emplace_back()); });
    } else if (value.is_array()) {
      wrap_error(key, [&] {
        for (const auto& entry : value) {
          from_json(entry, specifiers.emplace_back());
        }
      });
    } else {
      throw zunto::json::unmarshal_error("`" + key + "` must be object or array of objects, but is `" + dump(value) +
                                         "`");
    }
    value_ = std::move(specifiers);
    type_ = type::select_input_source;
    return true;
  }

  if (key == "set_variable") {
    check_type(json);
    const auto set_variable = json_reading::read_wrapped<manipulator_environment_variable_set_variable>(key, value);
    if (!set_variable.name) {
      throw zunto::json::unmarshal_error("`" + key + ".name` is not found in `" + dump(value) + "`");
    }
    if (!set_variable.value) {
      throw zunto::json::unmarshal_error("`" + key + ".value` is not found in `" + dump(value) + "`");
    }
    value_ = set_variable;
    type_ = type::set_variable;
    return true;
  }

  if (key == "set_notification_message") {
    check_type(json);
    value_ = json_reading::read_wrapped<notification_message>(key, value);
    type_ = type::set_notification_message;
    return true;
  }

  if (key == "mouse_key") {
    check_type(json);
    value_ = json_reading::read_wrapped<mouse_key>(key, value);
    type_ = type::mouse_key;
    return true;
  }

  if (key == "sticky_modifier") {
    check_type(json);
    zunto::json::requires_object(value, "`" + key + "`");
    type_ = type::sticky_modifier;
    wrap_error(key, [&] {
      for (const auto& name_item : value.items()) {
        const auto& name = name_item.key();
        const auto& member = name_item.value();
        modifier_flag flag = modifier_flag::zero;
        from_json(nlohmann::json(name), flag);
        sticky_modifier_type sticky_type = sticky_modifier_type::on;
        from_json(member, sticky_type);
        value_ = std::pair(flag, sticky_type);
      }
    });
    return true;
  }

  if (key == "software_function") {
    check_type(json);
    value_ = json_reading::read_wrapped<software_function>(key, value);
    type_ = type::software_function;
    return true;
  }

  return key == "description";
}

void event_definition::check_type(const nlohmann::json& json) const {
  if (type_ != type::none) {
    throw zunto::json::unmarshal_error("multiple types are specified: `" + dump(json) + "`");
  }
}

std::optional<event_queue::event> event_definition::to_event() const {
  using event = event_queue::event;
  switch (type_) {
    case type::none:
    case type::any:
      return std::nullopt;
    case type::momentary_switch_event:
      return event(std::get<momentary_switch_event>(value_));
    case type::shell_command:
      return event::make_shell_command_event(std::get<std::string>(value_));
    case type::select_input_source:
      return event::make_select_input_source_event(
          std::get<std::vector<zunto::osx::input_source_selector::specifier>>(value_));
    case type::set_variable:
      return event::make_set_variable_event(std::get<manipulator_environment_variable_set_variable>(value_));
    case type::set_notification_message:
      return event::make_set_notification_message_event(std::get<notification_message>(value_));
    case type::mouse_key:
      return event::make_mouse_key_event(std::get<mouse_key>(value_));
    case type::sticky_modifier:
      if (const auto* sticky = find<std::pair<modifier_flag, sticky_modifier_type>>()) {
        return event::make_sticky_modifier_event(sticky->first, sticky->second);
      }
      return std::nullopt;
    case type::software_function:
      return event::make_software_function_event(std::get<software_function>(value_));
  }
  return std::nullopt;
}

} // namespace hbd::manipulator
