#pragma once

#include "hbd/device_properties.hpp"
#include "hbd/manipulator_environment_variable_set_variable.hpp"
#include "hbd/modifier_flag.hpp"
#include "hbd/momentary_switch_event.hpp"
#include "hbd/mouse_key.hpp"
#include "hbd/notification_message.hpp"
#include "hbd/pointing_motion.hpp"
#include "hbd/software_function.hpp"
#include "hbd/sticky_modifier_type.hpp"
#include "hbd/virtual_hid_devices_state.hpp"
#include "zunto/osx/frontmost_application_monitor/application.hpp"
#include "zunto/osx/input_source/properties.hpp"
#include "zunto/osx/input_source_selector/specifier.hpp"
#include "zunto/osx/system_preferences/properties.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hbd::event_queue {

// One event: a kind and the value it carries.
class event final {
public:
  enum class type : std::uint32_t {
    none = 0,
    momentary_switch_event = 1,
    pointing_motion = 2,
    shell_command = 3,
    select_input_source = 4,
    set_variable = 5,
    set_notification_message = 6,
    mouse_key = 7,
    sticky_modifier = 8,
    software_function = 9,
    wait_marker = 10,
    device_grabbed = 12,
    device_ungrabbed = 13,
    caps_lock_state_changed = 14,
    frontmost_application_changed = 16,
    input_source_changed = 17,
    system_preferences_properties_changed = 18,
    virtual_hid_devices_state_changed = 19,
  };

  using value_t = std::variant<
      momentary_switch_event, pointing_motion, std::int64_t, std::string,
      std::vector<zunto::osx::input_source_selector::specifier>, manipulator_environment_variable_set_variable,
      notification_message, mouse_key, std::pair<modifier_flag, sticky_modifier_type>, software_function,
      zunto::osx::frontmost_application_monitor::application, zunto::osx::input_source::properties, device_properties,
      zunto::osx::system_preferences::properties, virtual_hid_devices_state, std::monostate>;

  event() = default;
  // The caller pairs the kind with the value it is meant to carry.
  event(type kind, value_t value) : type_(kind), value_(std::move(value)) {}
  explicit event(const momentary_switch_event& value) : type_(type::momentary_switch_event), value_(value) {}
  explicit event(const pointing_motion& value) : type_(type::pointing_motion), value_(value) {}

  static event make_shell_command_event(const std::string& command);
  static event make_select_input_source_event(const std::vector<zunto::osx::input_source_selector::specifier>& value);
  static event make_set_variable_event(const manipulator_environment_variable_set_variable& value);
  static event make_set_notification_message_event(const notification_message& value);
  static event make_mouse_key_event(const mouse_key& value);
  static event make_sticky_modifier_event(modifier_flag flag, sticky_modifier_type sticky_type);
  static event make_software_function_event(const software_function& value);
  static event make_wait_marker_event();
  static event make_device_grabbed_event(const device_properties& value);
  static event make_device_ungrabbed_event();
  static event make_caps_lock_state_changed_event(std::int64_t state);
  static event make_frontmost_application_changed_event(
      const zunto::osx::frontmost_application_monitor::application& value);
  static event make_input_source_changed_event(const zunto::osx::input_source::properties& value);
  static event make_system_preferences_properties_changed_event(
      const zunto::osx::system_preferences::properties& value);
  static event make_virtual_hid_devices_state_changed_event(const virtual_hid_devices_state& value);

  type get_type() const { return type_; }
  const value_t& get_value() const { return value_; }

  // Each gives the value only when the kind is the one named and the value holds its alternative.
  std::optional<momentary_switch_event> get_momentary_switch_event() const;
  std::optional<pointing_motion> get_pointing_motion() const;
  std::optional<std::int64_t> get_integer_value() const;
  std::optional<std::pair<modifier_flag, sticky_modifier_type>> get_sticky_modifier() const;
  std::optional<zunto::osx::frontmost_application_monitor::application> get_frontmost_application() const;
  std::optional<zunto::osx::input_source::properties> get_input_source_properties() const;
  std::optional<manipulator_environment_variable_set_variable> get_set_variable() const;

  // Whatever the kind.
  template <typename T>
  const T* find() const {
    return std::get_if<T>(&value_);
  }

  bool operator==(const event&) const = default;

private:
  template <typename T>
  std::optional<T> get_if_kind(type kind) const {
    if (type_ == kind) {
      if (const auto* value = find<T>()) {
        return *value;
      }
    }
    return std::nullopt;
  }

  type type_ = type::none;
  value_t value_{std::monostate{}};
};

} // namespace hbd::event_queue
