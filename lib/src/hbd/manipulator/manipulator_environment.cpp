#include "hbd/manipulator/manipulator_environment.hpp"

#include "hbd/json_writer.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator {

namespace {

// The backend's own virtual keyboard.
constexpr zunto::hid::vendor_id::value_t virtual_hid_keyboard_vendor_id{0x16c0};
constexpr zunto::hid::product_id::value_t virtual_hid_keyboard_product_id{0x27db};

nlohmann::json input_source_json(const zunto::osx::input_source::properties& properties) {
  if (!properties.input_source_id && !properties.input_mode_id && !properties.first_language) {
    return nullptr;
  }
  auto json = nlohmann::json::object();
  if (properties.input_source_id) {
    json["input_source_id"] = *properties.input_source_id;
  }
  if (properties.input_mode_id) {
    json["input_mode_id"] = *properties.input_mode_id;
  }
  if (properties.first_language) {
    json["language"] = *properties.first_language;
  }
  return json;
}

} // namespace

nlohmann::json manipulator_environment::to_json() const {
  auto variables = nlohmann::json::object();
  for (const auto& [name, value] : variables_) {
    hbd::to_json(variables[name], value);
  }
  auto state = nlohmann::json::object();
  hbd::to_json(state, virtual_hid_devices_state_);
  return {
      {"frontmost_application", frontmost_application_},
      {"input_source", input_source_json(input_source_properties_)},
      {"system_preferences_properties", system_preferences_properties_},
      {"variables", std::move(variables)},
      {"virtual_hid_devices_state", std::move(state)},
      {"virtual_hid_keyboard_keyboard_type", virtual_hid_keyboard_keyboard_type_},
  };
}

void manipulator_environment::async_save_to_file() const {
  if (output_json_file_path_.empty()) {
    return;
  }
  json_writer::async_save_to_file(to_json(), output_json_file_path_, 0755, 0644);
}

void manipulator_environment::set_frontmost_application(
    const zunto::osx::frontmost_application_monitor::application& value) {
  frontmost_application_ = value;
  async_save_to_file();
}

void manipulator_environment::set_input_source_properties(const zunto::osx::input_source::properties& value) {
  input_source_properties_ = value;
  async_save_to_file();
}

manipulator_environment_variable_value manipulator_environment::get_variable(const std::string& name) const {
  if (const auto it = variables_.find(name); it != variables_.end()) {
    return it->second;
  }
  return std::int32_t{0};
}

void manipulator_environment::set_variable(const std::string& name,
                                           const manipulator_environment_variable_value& value) {
  variables_[name] = value;
  async_save_to_file();
}

void manipulator_environment::set_system_preferences_properties(
    const zunto::osx::system_preferences::properties& value) {
  system_preferences_properties_ = value;
  update_virtual_hid_keyboard_keyboard_type();
  async_save_to_file();
}

void manipulator_environment::update_virtual_hid_keyboard_keyboard_type() {
  zunto::hid::country_code::value_t country_code{0};
  if (const auto configuration = weak_core_configuration_.lock()) {
    country_code = configuration->get_selected_profile().get_virtual_hid_keyboard().get_country_code();
  }
  const zunto::osx::system_preferences::keyboard_type_key key{virtual_hid_keyboard_vendor_id,
                                                              virtual_hid_keyboard_product_id, country_code};
  const auto& types = system_preferences_properties_.get_keyboard_types();
  const auto it = types.find(key);
  if (it == types.end()) {
    virtual_hid_keyboard_keyboard_type_.clear();
  } else if (it->second == zunto::osx::iokit_keyboard_type::value_t{41}) {
    virtual_hid_keyboard_keyboard_type_ = "iso";
  } else if (it->second == zunto::osx::iokit_keyboard_type::value_t{42}) {
    virtual_hid_keyboard_keyboard_type_ = "jis";
  } else {
    virtual_hid_keyboard_keyboard_type_ = "ansi";
  }
}

} // namespace hbd::manipulator
