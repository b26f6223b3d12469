#include "hbd/core_configuration/details/profile.hpp"

#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace hbd::core_configuration::details {

namespace {

constexpr double default_game_pad_stick_deadzone = 0.1;
constexpr std::int32_t default_game_pad_stick_stroke_acceleration_transition_duration_milliseconds = 500;

// Wraps a record's own message with the member's name; other exceptions pass unchanged.
template <class Function>
void wrap_error(const char* format, const std::string& key, Function&& function) {
  try {
    function();
  } catch (const zunto::json::unmarshal_error& e) {
    throw zunto::json::unmarshal_error(fmt::format(fmt::runtime(format), key, e.what()));
  }
}

// JSON has no NaN or infinity: such a value would be saved as null, and the file would no longer
// load. Thrown before the device record is looked up, so nothing changes.
void require_finite(std::optional<double> value, std::string_view key) {
  if (value && !std::isfinite(*value)) {
    throw std::invalid_argument(fmt::format("`{0}` must be a finite number, but is {1}", key, *value));
  }
}

constexpr const char* error_format = "`{0}` error: {1}";
constexpr const char* entry_error_format = "`{0}` entry error: {1}";

// When a device is treated as the built-in keyboard it cannot also disable that keyboard.
void coordinate(device& d) {
  if (d.get_treat_as_built_in_keyboard() && d.get_disable_built_in_keyboard_if_exists()) {
    d.set_disable_built_in_keyboard_if_exists(false);
  }
}

} // namespace

profile::profile(const nlohmann::json& json) : profile(nlohmann::json(json)) {}

profile::profile(nlohmann::json&& json) : json_(nlohmann::json::object()) {
  fn_function_keys_ = default_fn_function_keys();

  zunto::json::requires_object(json, "json");

  // The object keeps its members in name order, so the first bad member in that order decides.
  for (auto it = json.begin(); it != json.end(); ++it) {
    // Named references, not a structured binding: lambdas below capture them.
    const auto& key = it.key();
    auto& value = *it;
    if (key == "complex_modifications") {
      wrap_error(error_format, key, [&] { complex_modifications_ = complex_modifications(std::move(value)); });
    } else if (key == "devices") {
      zunto::json::requires_array(value, "`devices`");
      devices_.reserve(value.size());
      for (auto& entry : value) {
        wrap_error(entry_error_format, key, [&] { devices_.emplace_back(std::move(entry)); });
      }
    } else if (key == "fn_function_keys") {
      wrap_error(error_format, key, [&] { fn_function_keys_.handle_json(value); });
    } else if (key == "name") {
      zunto::json::requires_string(value, "`name`");
      set_name(value.get<std::string>());
    } else if (key == "parameters") {
      wrap_error(error_format, key, [&] {
        details::parameters p;
        from_json(value, p);
        parameters_ = std::move(p);
      });
    } else if (key == "selected") {
      zunto::json::requires_boolean(value, "`selected`");
      selected_ = value.get<bool>();
    } else if (key == "simple_modifications") {
      wrap_error(error_format, key, [&] { simple_modifications_.handle_json(value); });
    } else if (key == "virtual_hid_keyboard") {
      wrap_error(error_format, key, [&] {
        details::virtual_hid_keyboard keyboard;
        from_json(value, keyboard);
        virtual_hid_keyboard_ = std::move(keyboard);
      });
    } else {
      // Kept for the next save. The members read above are written from the records, so the
      // kept JSON leaves them out rather than hold a second copy of every rule and device.
      json_[key] = std::move(value);
    }
  }
}

nlohmann::json profile::to_json() const {
  auto json = zunto::json::object_copy(json_);
  json["name"] = *name_;
  json["selected"] = selected_;
  json["parameters"] = parameters_;
  json["simple_modifications"] = simple_modifications_.to_json();
  json["fn_function_keys"] = fn_function_keys_.to_json();
  json["complex_modifications"] = complex_modifications_.to_json();
  json["virtual_hid_keyboard"] = virtual_hid_keyboard_;
  auto devices = nlohmann::json::array();
  for (const auto& d : devices_) {
    devices.push_back(d.to_json());
  }
  json["devices"] = std::move(devices);
  return json;
}

const simple_modifications& profile::default_fn_function_keys() {
  // Never destroyed: a configuration may be read while the process exits.
  static const auto& keys = *new simple_modifications([] {
    simple_modifications list;
    list.handle_json(make_default_fn_function_keys_json());
    return list;
  }());
  return keys;
}

void profile::write_json(zunto::json::indented_writer& writer) const {
  using member = zunto::json::indented_writer::member;
  using zunto::json::indented_writer;
  // In name order, as the written object keeps its members.
  const std::array<member, 8> members{{
      {"complex_modifications", [&](indented_writer& w) { complex_modifications_.write_json(w); }},
      {"devices",
       [&](indented_writer& w) { w.array(devices_.size(), [&](std::size_t i) { devices_[i].write_json(w); }); }},
      {"fn_function_keys", [&](indented_writer& w) { fn_function_keys_.write_json(w); }},
      {"name", [&](indented_writer& w) { w.value(*name_); }},
      {"parameters", [&](indented_writer& w) { w.value(parameters_); }},
      {"selected", [&](indented_writer& w) { w.value(selected_); }},
      {"simple_modifications", [&](indented_writer& w) { simple_modifications_.write_json(w); }},
      {"virtual_hid_keyboard", [&](indented_writer& w) { w.value(virtual_hid_keyboard_); }},
  }};
  writer.object(json_, members);
}

nlohmann::json profile::make_default_fn_function_keys_json() {
  static constexpr std::array<std::array<const char*, 3>, 12> keys{{
      {"f1", "consumer_key_code", "display_brightness_decrement"},
      {"f2", "consumer_key_code", "display_brightness_increment"},
      {"f3", "apple_vendor_keyboard_key_code", "mission_control"},
      {"f4", "apple_vendor_keyboard_key_code", "spotlight"},
      {"f5", "consumer_key_code", "dictation"},
      {"f6", "key_code", "f6"},
      {"f7", "consumer_key_code", "rewind"},
      {"f8", "consumer_key_code", "play_or_pause"},
      {"f9", "consumer_key_code", "fast_forward"},
      {"f10", "consumer_key_code", "mute"},
      {"f11", "consumer_key_code", "volume_decrement"},
      {"f12", "consumer_key_code", "volume_increment"},
  }};

  auto json = nlohmann::json::array();
  for (const auto& [from, type, value] : keys) {
    auto entry = nlohmann::json::object();
    entry["from"]["key_code"] = from;
    auto to = nlohmann::json::object();
    to[type] = value;
    entry["to"] = nlohmann::json::array({std::move(to)});
    json.push_back(std::move(entry));
  }
  return json;
}

const device* profile::find_device(const device_identifiers& identifiers) const {
  auto it = std::find_if(devices_.begin(), devices_.end(),
                         [&](const device& d) { return d.get_identifiers() == identifiers; });
  return it == devices_.end() ? nullptr : &*it;
}

device profile::make_device(const device_identifiers& identifiers) {
  auto json = nlohmann::json::object();
  json["identifiers"] = identifiers;
  return device(json);
}

void profile::add_device(const device_identifiers& identifiers) { ensure_device(identifiers); }

device& profile::ensure_device(const device_identifiers& identifiers) {
  for (auto& d : devices_) {
    if (d.get_identifiers() == identifiers) {
      return d;
    }
  }
  return devices_.emplace_back(make_device(identifiers));
}

template <class Setter>
void profile::set_device(const device_identifiers& identifiers, Setter&& setter) {
  auto& d = ensure_device(identifiers);
  setter(d);
  coordinate(d);
}

template <class Getter>
std::optional<typename std::invoke_result_t<Getter, const device&>::value_type> profile::find_device_value(
    const device_identifiers& identifiers, Getter&& getter) const {
  for (const auto& d : devices_) {
    if (d.get_identifiers() == identifiers) {
      if (auto value = getter(d)) {
        return value;
      }
    }
  }
  return std::nullopt;
}

bool profile::get_device_ignore(const device_identifiers& identifiers) const {
  if (const auto* d = find_device(identifiers)) {
    return d->get_ignore();
  }
  return make_device(identifiers).get_ignore();
}

void profile::set_device_ignore(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_ignore(value); });
}

bool profile::get_device_manipulate_caps_lock_led(const device_identifiers& identifiers) const {
  if (const auto* d = find_device(identifiers)) {
    return d->get_manipulate_caps_lock_led();
  }
  return make_device(identifiers).get_manipulate_caps_lock_led();
}

void profile::set_device_manipulate_caps_lock_led(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_manipulate_caps_lock_led(value); });
}

bool profile::get_device_treat_as_built_in_keyboard(const device_identifiers& identifiers) const {
  if (const auto* d = find_device(identifiers)) {
    return d->get_treat_as_built_in_keyboard();
  }
  return make_device(identifiers).get_treat_as_built_in_keyboard();
}

void profile::set_device_treat_as_built_in_keyboard(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_treat_as_built_in_keyboard(value); });
}

void profile::set_device_disable_built_in_keyboard_if_exists(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_disable_built_in_keyboard_if_exists(value); });
}

void profile::set_device_mouse_flip_x(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_flip_x(value); });
}

void profile::set_device_mouse_flip_y(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_flip_y(value); });
}

void profile::set_device_mouse_flip_vertical_wheel(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_flip_vertical_wheel(value); });
}

void profile::set_device_mouse_flip_horizontal_wheel(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_flip_horizontal_wheel(value); });
}

void profile::set_device_mouse_swap_xy(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_swap_xy(value); });
}

void profile::set_device_mouse_swap_wheels(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_mouse_swap_wheels(value); });
}

void profile::set_device_game_pad_swap_sticks(const device_identifiers& identifiers, bool value) {
  set_device(identifiers, [&](device& d) { d.set_game_pad_swap_sticks(value); });
}

bool profile::has_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers) const {
  return find_device_value(identifiers, [](const device& d) { return d.get_game_pad_xy_stick_deadzone(); }).has_value();
}

double profile::get_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers) const {
  return find_device_value(identifiers, [](const device& d) { return d.get_game_pad_xy_stick_deadzone(); })
      .value_or(default_game_pad_stick_deadzone);
}

void profile::set_device_game_pad_xy_stick_deadzone(const device_identifiers& identifiers,
                                                    std::optional<double> value) {
  require_finite(value, "game_pad_xy_stick_deadzone");
  set_device(identifiers, [&](device& d) { d.set_game_pad_xy_stick_deadzone(value); });
}

bool profile::has_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers) const {
  return find_device_value(identifiers, [](const device& d) { return d.get_game_pad_wheels_stick_deadzone(); })
      .has_value();
}

double profile::get_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers) const {
  return find_device_value(identifiers, [](const device& d) { return d.get_game_pad_wheels_stick_deadzone(); })
      .value_or(default_game_pad_stick_deadzone);
}

void profile::set_device_game_pad_wheels_stick_deadzone(const device_identifiers& identifiers,
                                                        std::optional<double> value) {
  require_finite(value, "game_pad_wheels_stick_deadzone");
  set_device(identifiers, [&](device& d) { d.set_game_pad_wheels_stick_deadzone(value); });
}

bool profile::has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    const device_identifiers& identifiers) const {
  return find_device_value(identifiers,
                           [](const device& d) {
                             return d.get_game_pad_stick_stroke_acceleration_transition_duration_milliseconds();
                           })
      .has_value();
}

std::int32_t profile::get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    const device_identifiers& identifiers) const {
  return find_device_value(identifiers,
                           [](const device& d) {
                             return d.get_game_pad_stick_stroke_acceleration_transition_duration_milliseconds();
                           })
      .value_or(default_game_pad_stick_stroke_acceleration_transition_duration_milliseconds);
}

void profile::set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    const device_identifiers& identifiers, std::optional<std::int32_t> value) {
  set_device(identifiers, [&](device& d) {
    std::optional<double> widened;
    if (value) {
      widened = static_cast<double>(*value);
    }
    d.set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(widened);
  });
}

simple_modifications* profile::find_simple_modifications(const device_identifiers& identifiers) {
  return &ensure_device(identifiers).get_simple_modifications();
}

simple_modifications* profile::find_fn_function_keys(const device_identifiers& identifiers) {
  return &ensure_device(identifiers).get_fn_function_keys();
}

} // namespace hbd::core_configuration::details
