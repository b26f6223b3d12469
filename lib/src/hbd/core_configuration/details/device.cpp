#include "hbd/core_configuration/details/device.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

#include <array>
#include <vector>

namespace hbd::core_configuration::details {

namespace {

// Devices of this maker are left alone unless the entry says otherwise.
constexpr zunto::hid::vendor_id::value_t ignored_by_default_vendor_id{0x1050};

template <class Function>
void wrap_error(const std::string& key, Function&& function) {
  try {
    function();
  } catch (const zunto::json::unmarshal_error& e) {
    throw zunto::json::unmarshal_error(fmt::format("`{0}` error: {1}", key, e.what()));
  }
}

} // namespace

constinit const std::array<device::field<bool>, 11> device::boolean_fields_{{
    {"ignore", &device::ignore_},
    {"manipulate_caps_lock_led", &device::manipulate_caps_lock_led_},
    {"treat_as_built_in_keyboard", &device::treat_as_built_in_keyboard_},
    {"disable_built_in_keyboard_if_exists", &device::disable_built_in_keyboard_if_exists_},
    {"mouse_flip_x", &device::mouse_flip_x_},
    {"mouse_flip_y", &device::mouse_flip_y_},
    {"mouse_flip_vertical_wheel", &device::mouse_flip_vertical_wheel_},
    {"mouse_flip_horizontal_wheel", &device::mouse_flip_horizontal_wheel_},
    {"mouse_swap_xy", &device::mouse_swap_xy_},
    {"mouse_swap_wheels", &device::mouse_swap_wheels_},
    {"game_pad_swap_sticks", &device::game_pad_swap_sticks_},
}};

constinit const std::array<device::field<std::optional<std::int32_t>>, 3> device::integer_fields_{{
    {"game_pad_stick_stroke_release_detection_threshold_milliseconds",
     &device::game_pad_stick_stroke_release_detection_threshold_milliseconds_},
    {"game_pad_stick_stroke_acceleration_measurement_duration_milliseconds",
     &device::game_pad_stick_stroke_acceleration_measurement_duration_milliseconds_},
    {"game_pad_stick_stroke_acceleration_transition_duration_milliseconds",
     &device::game_pad_stick_stroke_acceleration_transition_duration_milliseconds_},
}};

constinit const std::array<device::field<std::optional<double>>, 2> device::double_fields_{{
    {"game_pad_xy_stick_deadzone", &device::game_pad_xy_stick_deadzone_},
    {"game_pad_wheels_stick_deadzone", &device::game_pad_wheels_stick_deadzone_},
}};

constinit const std::array<device::field<std::optional<std::string>>, 6> device::formula_fields_{{
    {"game_pad_xy_stick_interval_milliseconds_formula", &device::game_pad_xy_stick_interval_milliseconds_formula_},
    {"game_pad_wheels_stick_interval_milliseconds_formula",
     &device::game_pad_wheels_stick_interval_milliseconds_formula_},
    {"game_pad_stick_x_formula", &device::game_pad_stick_x_formula_},
    {"game_pad_stick_y_formula", &device::game_pad_stick_y_formula_},
    {"game_pad_stick_vertical_wheel_formula", &device::game_pad_stick_vertical_wheel_formula_},
    {"game_pad_stick_horizontal_wheel_formula", &device::game_pad_stick_horizontal_wheel_formula_},
}};

device::device(const nlohmann::json& json) : device(nlohmann::json(json)) {}

device::device(nlohmann::json&& json) : json_(std::move(json)) {
  fn_function_keys_ = default_fn_function_keys();

  zunto::json::requires_object(json_, "json");

  for (auto it = json_.begin(); it != json_.end(); ++it) {
    read_member(it.key(), *it);
  }

  apply_kind_rule(json_.contains("ignore"), json_.contains("manipulate_caps_lock_led"));
}

const simple_modifications& device::default_fn_function_keys() {
  // Never destroyed: a configuration may be read while the process exits.
  static const auto& keys = *new simple_modifications([] {
    simple_modifications list;
    list.handle_json(make_default_fn_function_keys_json());
    return list;
  }());
  return keys;
}

void device::read_member(const std::string& key, const nlohmann::json& value) {
  auto backquoted_key = fmt::format("`{0}`", key);

  if (key == "identifiers") {
    wrap_error(key, [&] {
      device_identifiers identifiers;
      from_json(value, identifiers);
      identifiers_ = std::move(identifiers);
    });
    return;
  }
  if (key == "simple_modifications") {
    wrap_error(key, [&] { simple_modifications_.handle_json(value); });
    return;
  }
  if (key == "fn_function_keys") {
    wrap_error(key, [&] { fn_function_keys_.handle_json(value); });
    return;
  }
  auto read_field = [&](const auto& fields, auto&& read) {
    for (const auto& f : fields) {
      if (f.key == key) {
        this->*f.member = read();
        return true;
      }
    }
    return false;
  };
  auto boolean = [&] {
    zunto::json::requires_boolean(value, backquoted_key);
    return value.get<bool>();
  };
  auto integer = [&] {
    zunto::json::requires_number(value, backquoted_key);
    return zunto::json::saturating_number<std::int32_t>(value);
  };
  auto floating = [&] {
    zunto::json::requires_number(value, backquoted_key);
    return value.get<double>();
  };
  auto formula = [&] { return unmarshal_formula(value, key); };
  if (read_field(boolean_fields_, boolean) || read_field(integer_fields_, integer) ||
      read_field(double_fields_, floating) || read_field(formula_fields_, formula)) {
    return;
  }
  // Other keys stay in the kept JSON.
}

void device::apply_kind_rule(bool ignore_given, bool manipulate_caps_lock_led_given) {
  if (!ignore_given) {
    ignore_ = identifiers_.get_is_pointing_device() || identifiers_.get_is_game_pad() ||
              identifiers_.get_vendor_id() == ignored_by_default_vendor_id;
  }
  if (!manipulate_caps_lock_led_given) {
    manipulate_caps_lock_led_ = identifiers_.get_is_keyboard();
  }
  if (treat_as_built_in_keyboard_) {
    disable_built_in_keyboard_if_exists_ = false;
  }
}

nlohmann::json device::to_json() const {
  auto json = settings_json();
  json["simple_modifications"] = simple_modifications_.to_json();
  json["fn_function_keys"] = fn_function_keys_.to_json();
  return json;
}

void device::write_json(zunto::json::indented_writer& writer) const {
  using zunto::json::indented_writer;
  // In name order, as the written object keeps its members.
  const std::array<indented_writer::member, 2> members{{
      {"fn_function_keys", [&](indented_writer& w) { fn_function_keys_.write_json(w); }},
      {"simple_modifications", [&](indented_writer& w) { simple_modifications_.write_json(w); }},
  }};
  writer.object(settings_json(), members);
}

nlohmann::json device::settings_json() const {
  auto json = zunto::json::object_copy(json_);

  json["identifiers"] = identifiers_;
  for (const auto& f : boolean_fields_) {
    json[std::string(f.key)] = this->*f.member;
  }
  auto write_optional = [&](std::string_view key, const auto& value, auto&& marshal) {
    if (value) {
      json[std::string(key)] = marshal(*value);
    } else {
      json.erase(std::string(key));
    }
  };
  auto as_is = [](const auto& value) { return nlohmann::json(value); };
  for (const auto& f : integer_fields_) {
    write_optional(f.key, this->*f.member, as_is);
  }
  for (const auto& f : double_fields_) {
    write_optional(f.key, this->*f.member, as_is);
  }
  for (const auto& f : formula_fields_) {
    write_optional(f.key, this->*f.member, marshal_formula);
  }
  return json;
}

nlohmann::json device::make_default_fn_function_keys_json() {
  auto json = nlohmann::json::array();
  for (int i = 1; i <= 12; ++i) {
    auto entry = nlohmann::json::object();
    entry["from"]["key_code"] = fmt::format("f{0}", i);
    entry["to"] = nlohmann::json::object();
    json.push_back(std::move(entry));
  }
  return json;
}

nlohmann::json device::marshal_formula(const std::string& formula) {
  // Lines as a line reader sees them: a final line feed does not start another line.
  std::vector<std::string> lines;
  std::string_view rest = formula;
  while (!rest.empty()) {
    auto end = rest.find('\n');
    lines.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  if (lines.size() == 1) {
    return formula;
  }
  return lines;
}

std::string device::unmarshal_formula(const nlohmann::json& json, const std::string& key) {
  if (json.is_string()) {
    return json.get<std::string>();
  }
  if (json.is_array()) {
    std::string text;
    bool all_strings = true;
    for (const auto& line : json) {
      if (!line.is_string()) {
        all_strings = false;
        break;
      }
      text += line.get<std::string>();
      text += '\n';
    }
    if (all_strings) {
      if (!text.empty()) {
        text.pop_back();
      }
      return text;
    }
  }
  throw zunto::json::unmarshal_error(fmt::format("`{0}` must be array of string, or string, but is `{1}`", key,
                                                 zunto::json::dump_for_error_message(json)));
}

void device::set_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(std::optional<double> value) {
  if (value) {
    game_pad_stick_stroke_acceleration_transition_duration_milliseconds_ =
        zunto::json::saturating_number<std::int32_t>(*value);
  } else {
    game_pad_stick_stroke_acceleration_transition_duration_milliseconds_ = std::nullopt;
  }
  if (treat_as_built_in_keyboard_) {
    disable_built_in_keyboard_if_exists_ = false;
  }
}

} // namespace hbd::core_configuration::details
