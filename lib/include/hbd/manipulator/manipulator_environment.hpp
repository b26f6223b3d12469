#pragma once

#include "hbd/core_configuration/core_configuration.hpp"
#include "hbd/device_properties_manager.hpp"
#include "hbd/manipulator_environment_variable_value.hpp"
#include "hbd/virtual_hid_devices_state.hpp"
#include "zunto/osx/frontmost_application_monitor/application.hpp"
#include "zunto/osx/input_source/properties.hpp"
#include "zunto/osx/system_preferences/properties.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <string>
#include <unordered_map>

namespace hbd::manipulator {

// The outside state that conditions test. Owned by one event queue and used on the thread that
// runs it; every change can publish the whole state as a JSON file for other processes.
class manipulator_environment final {
public:
  nlohmann::json to_json() const;
  // Queues a write of the current state to the output file; nothing when no path is set.
  void async_save_to_file() const;

  const std::string& get_output_json_file_path() const { return output_json_file_path_; }
  void set_output_json_file_path(const std::string& value) { output_json_file_path_ = value; }

  const device_properties_manager& get_device_properties_manager() const { return device_properties_manager_; }
  device_properties_manager& get_device_properties_manager() { return device_properties_manager_; }

  const zunto::osx::frontmost_application_monitor::application& get_frontmost_application() const {
    return frontmost_application_;
  }
  void set_frontmost_application(const zunto::osx::frontmost_application_monitor::application& value);

  const zunto::osx::input_source::properties& get_input_source_properties() const { return input_source_properties_; }
  void set_input_source_properties(const zunto::osx::input_source::properties& value);

  // The integer 0 for a name never set.
  manipulator_environment_variable_value get_variable(const std::string& name) const;
  void set_variable(const std::string& name, const manipulator_environment_variable_value& value);

  const std::weak_ptr<const core_configuration::core_configuration>& get_core_configuration() const {
    return weak_core_configuration_;
  }
  void set_core_configuration(std::weak_ptr<const core_configuration::core_configuration> value) {
    weak_core_configuration_ = std::move(value);
  }

  const zunto::osx::system_preferences::properties& get_system_preferences_properties() const {
    return system_preferences_properties_;
  }
  void set_system_preferences_properties(const zunto::osx::system_preferences::properties& value);

  // "ansi", "iso", "jis", or empty while the virtual keyboard's type is unknown.
  const std::string& get_virtual_hid_keyboard_keyboard_type() const { return virtual_hid_keyboard_keyboard_type_; }
  void update_virtual_hid_keyboard_keyboard_type();

  const virtual_hid_devices_state& get_virtual_hid_devices_state() const { return virtual_hid_devices_state_; }
  // Does not save; the queue saves after setting it.
  void set_virtual_hid_devices_state(const virtual_hid_devices_state& value) { virtual_hid_devices_state_ = value; }

private:
  std::string output_json_file_path_;
  device_properties_manager device_properties_manager_;
  zunto::osx::frontmost_application_monitor::application frontmost_application_;
  zunto::osx::input_source::properties input_source_properties_;
  std::unordered_map<std::string, manipulator_environment_variable_value> variables_;
  std::weak_ptr<const core_configuration::core_configuration> weak_core_configuration_;
  zunto::osx::system_preferences::properties system_preferences_properties_;
  std::string virtual_hid_keyboard_keyboard_type_;
  virtual_hid_devices_state virtual_hid_devices_state_;
};

} // namespace hbd::manipulator
