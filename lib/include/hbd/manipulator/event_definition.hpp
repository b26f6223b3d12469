#pragma once

#include "hbd/event_queue/event.hpp"
#include "hbd/manipulator_environment_variable_set_variable.hpp"
#include "hbd/modifier_flag.hpp"
#include "hbd/momentary_switch_event.hpp"
#include "hbd/mouse_key.hpp"
#include "hbd/notification_message.hpp"
#include "hbd/software_function.hpp"
#include "hbd/sticky_modifier_type.hpp"
#include "zunto/osx/input_source_selector/specifier.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hbd::manipulator {

// The event part of a "from" or "to" object: a key, any key of a kind, or one of the other actions.
class event_definition {
public:
  enum class type : std::uint32_t {
    none,
    momentary_switch_event,
    any,
    shell_command,
    select_input_source,
    set_variable,
    set_notification_message,
    mouse_key,
    sticky_modifier,
    software_function,
  };

  // The kind of key that "any" stands for.
  enum class any_type : std::uint32_t {
    key_code,
    consumer_key_code,
    apple_vendor_keyboard_key_code,
    apple_vendor_top_case_key_code,
    pointing_button,
  };

  using value_t = std::variant<momentary_switch_event, any_type, std::string,
                               std::vector<zunto::osx::input_source_selector::specifier>,
                               manipulator_environment_variable_set_variable, notification_message, mouse_key,
                               std::pair<modifier_flag, sticky_modifier_type>, software_function, std::monostate>;

  type get_type() const { return type_; }
  const value_t& get_value() const { return value_; }

  template <typename T>
  const T* find() const {
    return std::get_if<T>(&value_);
  }

  // Takes one member of the object `json`; false for a key that is not an event key. Throws
  // zunto::json::unmarshal_error.
  bool handle_json(const std::string& key, const nlohmann::json& value, const nlohmann::json& json);

  // Throws when a type is already set.
  void check_type(const nlohmann::json& json) const;

  // None for none and any, and for a sticky modifier without a member.
  std::optional<event_queue::event> to_event() const;

private:
  type type_ = type::none;
  value_t value_{std::monostate{}};
};

} // namespace hbd::manipulator
