#pragma once

#include "hbd/core_configuration/details/simple_modifications.hpp"
#include "hbd/device_identifiers.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hbd::core_configuration::details {

// One entry of a profile's "devices": the settings of one device, keyed by its identifiers.
class device final {
public:
  // Throws zunto::json::unmarshal_error for a malformed entry.
  explicit device(const nlohmann::json& json);
  // Takes the value over instead of copying it.
  explicit device(nlohmann::json&& json);

  nlohmann::json to_json() const;
  // Writes the text of to_json() without building its lists.
  void write_json(zunto::json::indented_writer& writer) const;

  // f1 to f12 with empty "to" lists: nothing is written until one is given a "to".
  static nlohmann::json make_default_fn_function_keys_json();
  // One line gives a string, none or several lines an array of them.
  static nlohmann::json marshal_formula(const std::string& formula);
  // A string, or an array of strings joined by line feeds. Throws zunto::json::unmarshal_error.
  static std::string unmarshal_formula(const nlohmann::json& json, const std::string& key);

  const nlohmann::json& get_json() const { return json_; }
  const device_identifiers& get_identifiers() const { return identifiers_; }

  bool get_ignore() const { return ignore_; }
  void set_ignore(bool value) { ignore_ = value; }
  bool get_manipulate_caps_lock_led() const { return manipulate_caps_lock_led_; }
  void set_manipulate_caps_lock_led(bool value) { manipulate_caps_lock_led_ = value; }
  bool get_treat_as_built_in_keyboard() const { return treat_as_built_in_keyboard_; }
  void set_treat_as_built_in_keyboard(bool value) { treat_as_built_in_keyboard_ = value; }
  bool get_disable_built_in_keyboard_if_exists() const { return disable_built_in_keyboard_if_exists_; }
  void set_disable_built_in_keyboard_if_exists(bool value) { disable_built_in_keyboard_if_exists_ = value; }
  bool get_mouse_flip_x() const { return mouse_flip_x_; }
  void set_mouse_flip_x(bool value) { mouse_flip_x_ = value; }
  bool get_mouse_flip_y() const { return mouse_flip_y_; }
  void set_mouse_flip_y(bool value) { mouse_flip_y_ = value; }
  bool get_mouse_flip_vertical_wheel() const { return mouse_flip_vertical_wheel_; }
  void set_mouse_flip_vertical_wheel(bool value) { mouse_flip_vertical_wheel_ = value; }
  bool get_mouse_flip_horizontal_wheel() const { return mouse_flip_horizontal_wheel_; }
  void set_mouse_flip_horizontal_wheel(bool value) { mouse_flip_horizontal_wheel_ = value; }
  bool get_mouse_swap_xy() const { return mouse_swap_xy_; }
  void set_mouse_swap_xy(bool value) { mouse_swap_xy_ = value; }
  bool get_mouse_swap_wheels() const { return mouse_swap_wheels_; }
  void set_mouse_swap_wheels(bool value) { mouse_swap_wheels_ = value; }
  bool get_game_pad_swap_sticks() const { return game_pad_swap_sticks_; }
  void set_game_pad_swap_sticks(bool value) { game_pad_swap_sticks_ = value; }

  std::optional<std::int32_t> get_game_pad_stick_stroke_release_detection_threshold_milliseconds() const {
    return game_pad_stick_stroke_release_detection_threshold_milliseconds_;
  }
  std::optional<std::int32_t> get_game_pad_stick_stroke_acceleration_measurement_duration_milliseconds() const {
    return game_pad_stick_stroke_acceleration_measurement_duration_milliseconds_;
  }
  std::optional<double> get_game_pad_xy_stick_deadzone() const { return game_pad_xy_stick_deadzone_; }
  void set_game_pad_xy_stick_deadzone(std::optional<double> value) { game_pad_xy_stick_deadzone_ = value; }
  std::optional<double> get_game_pad_wheels_stick_deadzone() const { return game_pad_wheels_stick_deadzone_; }
  void set_game_pad_wheels_stick_deadzone(std::optional<double> value) { game_pad_wheels_stick_deadzone_ = value; }
  std::optional<std::int32_t> get_game_pad_stick_stroke_acceleration_transition_duration_milliseconds() const {
    return game_pad_stick_stroke_acceleration_transition_duration_milliseconds_;
  }
  // Cut toward zero (saturating); an empty value clears it. Keeps treat/disable consistent.
  void set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(std::optional<double> value);

  const std::optional<std::string>& get_game_pad_xy_stick_interval_milliseconds_formula() const {
    return game_pad_xy_stick_interval_milliseconds_formula_;
  }
  const std::optional<std::string>& get_game_pad_wheels_stick_interval_milliseconds_formula() const {
    return game_pad_wheels_stick_interval_milliseconds_formula_;
  }
  const std::optional<std::string>& get_game_pad_stick_x_formula() const { return game_pad_stick_x_formula_; }
  const std::optional<std::string>& get_game_pad_stick_y_formula() const { return game_pad_stick_y_formula_; }
  const std::optional<std::string>& get_game_pad_stick_vertical_wheel_formula() const {
    return game_pad_stick_vertical_wheel_formula_;
  }
  const std::optional<std::string>& get_game_pad_stick_horizontal_wheel_formula() const {
    return game_pad_stick_horizontal_wheel_formula_;
  }

  const simple_modifications& get_simple_modifications() const { return simple_modifications_; }
  simple_modifications& get_simple_modifications() { return simple_modifications_; }
  const simple_modifications& get_fn_function_keys() const { return fn_function_keys_; }
  simple_modifications& get_fn_function_keys() { return fn_function_keys_; }

private:
  template <class T>
  struct field final {
    std::string_view key;
    T device::*member;
  };
  static const std::array<field<bool>, 11> boolean_fields_;
  static const std::array<field<std::optional<std::int32_t>>, 3> integer_fields_;
  static const std::array<field<std::optional<double>>, 2> double_fields_;
  static const std::array<field<std::optional<std::string>>, 6> formula_fields_;

  // The defaults read once: every device starts from a copy.
  static const simple_modifications& default_fn_function_keys();
  void read_member(const std::string& key, const nlohmann::json& value);
  // to_json() but for the two lists.
  nlohmann::json settings_json() const;
  void apply_kind_rule(bool ignore_given, bool manipulate_caps_lock_led_given);

  nlohmann::json json_;
  device_identifiers identifiers_;
  bool ignore_ = false;
  bool manipulate_caps_lock_led_ = false;
  bool treat_as_built_in_keyboard_ = false;
  bool disable_built_in_keyboard_if_exists_ = false;
  bool mouse_flip_x_ = false;
  bool mouse_flip_y_ = false;
  bool mouse_flip_vertical_wheel_ = false;
  bool mouse_flip_horizontal_wheel_ = false;
  bool mouse_swap_xy_ = false;
  bool mouse_swap_wheels_ = false;
  bool game_pad_swap_sticks_ = false;
  std::optional<std::int32_t> game_pad_stick_stroke_release_detection_threshold_milliseconds_;
  std::optional<std::int32_t> game_pad_stick_stroke_acceleration_measurement_duration_milliseconds_;
  std::optional<double> game_pad_xy_stick_deadzone_;
  std::optional<double> game_pad_wheels_stick_deadzone_;
  std::optional<std::int32_t> game_pad_stick_stroke_acceleration_transition_duration_milliseconds_;
  std::optional<std::string> game_pad_xy_stick_interval_milliseconds_formula_;
  std::optional<std::string> game_pad_wheels_stick_interval_milliseconds_formula_;
  std::optional<std::string> game_pad_stick_x_formula_;
  std::optional<std::string> game_pad_stick_y_formula_;
  std::optional<std::string> game_pad_stick_vertical_wheel_formula_;
  std::optional<std::string> game_pad_stick_horizontal_wheel_formula_;
  simple_modifications simple_modifications_;
  simple_modifications fn_function_keys_;
};

} // namespace hbd::core_configuration::details
