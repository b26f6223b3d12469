#pragma once

#include "hbd/core_configuration/details/complex_modifications.hpp"
#include "hbd/core_configuration/details/device.hpp"
#include "hbd/core_configuration/details/parameters.hpp"
#include "hbd/core_configuration/details/simple_modifications.hpp"
#include "hbd/core_configuration/details/virtual_hid_keyboard.hpp"
#include "hbd/device_identifiers.hpp"
#include "zunto/json/indented_writer.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hbd::core_configuration::details {

// One object of the configuration's "profiles": a named set of remapping settings. Members it
// does not read are kept and written back.
class profile final {
public:
  // Reads strictly: a member of the wrong kind fails the whole profile. Throws
  // zunto::json::unmarshal_error naming the first bad member in name order; other exceptions
  // raised by the records pass through.
  explicit profile(const nlohmann::json& json);
  // Takes the members over instead of copying them.
  explicit profile(nlohmann::json&& json);

  profile(profile&&) = default;
  profile& operator=(profile&&) = default;
  profile(const profile&) = delete;
  profile& operator=(const profile&) = delete;
  ~profile() = default;

  nlohmann::json to_json() const;
  // Writes the text of to_json() without building it.
  void write_json(zunto::json::indented_writer& writer) const;

  // Function keys f1 to f12 mapped to the display, media and system functions printed on them.
  static nlohmann::json make_default_fn_function_keys_json();

  const std::string& get_name() const { return *name_; }
  void set_name(const std::string& value) { name_ = std::make_unique<const std::string>(value); }
  bool get_selected() const { return selected_; }
  void set_selected(bool value) { selected_ = value; }

  const details::parameters& get_parameters() const { return parameters_; }
  details::parameters& get_parameters() { return parameters_; }
  const details::simple_modifications& get_simple_modifications() const { return simple_modifications_; }
  details::simple_modifications& get_simple_modifications() { return simple_modifications_; }
  const details::simple_modifications& get_fn_function_keys() const { return fn_function_keys_; }
  details::simple_modifications& get_fn_function_keys() { return fn_function_keys_; }
  const details::complex_modifications& get_complex_modifications() const { return complex_modifications_; }
  details::complex_modifications& get_complex_modifications() { return complex_modifications_; }
  const details::virtual_hid_keyboard& get_virtual_hid_keyboard() const { return virtual_hid_keyboard_; }
  details::virtual_hid_keyboard& get_virtual_hid_keyboard() { return virtual_hid_keyboard_; }
  const std::vector<device>& get_devices() const { return devices_; }
  std::vector<device>& get_devices() { return devices_; }

  // Per-device settings. A record matches by identifier equality; the first match counts.
  // Reading a device without a record gives what a new record for it would hold and adds
  // nothing; changing one adds the record first.
  bool get_device_ignore(const device_identifiers& identifiers) const;
  void set_device_ignore(const device_identifiers& identifiers, bool value);
  bool get_device_manipulate_caps_lock_led(const device_identifiers& identifiers) const;
  void set_device_manipulate_caps_lock_led(const device_identifiers& identifiers, bool value);
  bool get_device_treat_as_built_in_keyboard(const device_identifiers& identifiers) const;
  void set_device_treat_as_built_in_keyboard(const device_identifiers& identifiers, bool value);
  // Stored as given and not when the device is treated as the built-in keyboard.
  void set_device_disable_built_in_keyboard_if_exists(const device_identifiers& identifiers, bool value);
  void set_device_mouse_flip_x(const device_identifiers& identifiers, bool value);
  void set_device_mouse_flip_y(const device_identifiers& identifiers, bool value);
  void set_device_mouse_flip_vertical_wheel(const device_identifiers& identifiers, bool value);
  void set_device_mouse_flip_horizontal_wheel(const device_identifiers& identifiers, bool value);
  void set_device_mouse_swap_xy(const device_identifiers& identifiers, bool value);
  void set_device_mouse_swap_wheels(const device_identifiers& identifiers, bool value);
  void set_device_game_pad_swap_sticks(const device_identifiers& identifiers, bool value);

  // The game-pad options look past matching records that hold no value; an empty value clears.
  // The deadzone setters throw std::invalid_argument for NaN and infinities, changing nothing.
  bool has_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers) const;
  double get_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers) const;
  void set_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers, std::optional<double> value);
  bool has_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers) const;
  double get_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers) const;
  void set_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers, std::optional<double> value);
  bool has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
      const device_identifiers& identifiers) const;
  std::int32_t get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
      const device_identifiers& identifiers) const;
  void set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
      const device_identifiers& identifiers, std::optional<std::int32_t> value);

  // Appends a record built from {"identifiers": ...} alone unless one matches.
  void add_device(const device_identifiers& identifiers);
  // The device record's lists, the record added first when missing. Valid until the device
  // list changes; never null.
  details::simple_modifications* find_simple_modifications(const device_identifiers& identifiers);
  details::simple_modifications* find_fn_function_keys(const device_identifiers& identifiers);

private:
  // The defaults read once: every profile starts from a copy.
  static const details::simple_modifications& default_fn_function_keys();
  const device* find_device(const device_identifiers& identifiers) const;
  device& ensure_device(const device_identifiers& identifiers);
  static device make_device(const device_identifiers& identifiers);
  template <class Setter>
  void set_device(const device_identifiers& identifiers, Setter&& setter);
  template <class Getter>
  std::optional<typename std::invoke_result_t<Getter, const device&>::value_type> find_device_value(
      const device_identifiers& identifiers, Getter&& getter) const;

  // The members this record does not read.
  nlohmann::json json_;
  // On the heap, so that the text stays where it is when the profile list moves its profiles.
  std::unique_ptr<const std::string> name_ = std::make_unique<const std::string>();
  bool selected_ = false;
  details::parameters parameters_;
  details::simple_modifications simple_modifications_;
  details::simple_modifications fn_function_keys_;
  details::complex_modifications complex_modifications_;
  details::virtual_hid_keyboard virtual_hid_keyboard_;
  std::vector<device> devices_;
};

} // namespace hbd::core_configuration::details
