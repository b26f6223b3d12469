#include "hbd/constants.hpp"

#include "hbd/path_environment.hpp"

#include <utility>

namespace hbd {
namespace {

// Function-local statics below give the one-time, thread-safe computation; a derived path's
// initialiser calls its base getter, never the other way round. Each path is kept and never
// destroyed: members that the program left running go on using them while the process exits.
const std::filesystem::path& keep(std::filesystem::path path) { return *new std::filesystem::path(std::move(path)); }

std::filesystem::path system_path(const char* text) {
  // The root is read once, with the first system path.
  static const auto& environment = *new path_environment(path_environment::from_process());
  return environment.system_path(text);
}

std::filesystem::path join_unless_empty(const std::filesystem::path& base, const char* name) {
  if (base.empty()) {
    return {};
  }
  return base / name;
}

} // namespace

const std::filesystem::path& constants::get_system_configuration_directory() {
  static const auto& path = keep(system_path("/Library/Application Support/org.zunto/config"));
  return path;
}

const std::filesystem::path& constants::get_system_core_configuration_file_path() {
  static const auto& path = keep(get_system_configuration_directory() / "hobbard.json");
  return path;
}

const std::filesystem::path& constants::get_system_app_icon_configuration_file_path() {
  static const auto& path = keep(get_system_configuration_directory() / "hobbard_app_icon.json");
  return path;
}

const std::filesystem::path& constants::get_tmp_directory() {
  static const auto& path = keep(system_path("/Library/Application Support/org.zunto/tmp"));
  return path;
}

const std::filesystem::path& constants::get_grabber_socket_directory_path() {
  static const auto& path = keep(get_tmp_directory() / "hbd_grabber");
  return path;
}

const std::filesystem::path& constants::get_devices_json_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_grabber_devices.json");
  return path;
}

const std::filesystem::path& constants::get_grabber_state_json_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_grabber_state.json");
  return path;
}

const std::filesystem::path& constants::get_observer_state_json_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_observer_state.json");
  return path;
}

const std::filesystem::path& constants::get_device_details_json_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_grabber_device_details.json");
  return path;
}

const std::filesystem::path& constants::get_manipulator_environment_json_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_grabber_manipulator_environment.json");
  return path;
}

const std::filesystem::path& constants::get_notification_message_file_path() {
  static const auto& path = keep(get_tmp_directory() / "hobbard_notification_message.json");
  return path;
}

const std::filesystem::path& constants::get_version_file_path() {
  static const auto& path = keep(system_path("/Library/Application Support/org.zunto/Hobbard-Suite/version"));
  return path;
}

const std::filesystem::path& constants::get_system_log_directory() {
  static const auto& path = keep(system_path("/var/log/hobbard"));
  return path;
}

const std::filesystem::path& constants::get_user_configuration_directory() {
  static const auto& path = keep(path_environment::from_process().user_configuration_directory());
  return path;
}

const std::filesystem::path& constants::get_user_core_configuration_file_path() {
  static const auto& path = keep(join_unless_empty(get_user_configuration_directory(), "hobbard.json"));
  return path;
}

const std::filesystem::path& constants::get_user_complex_modifications_assets_directory() {
  static const auto& path = keep(join_unless_empty(get_user_configuration_directory(), "assets/complex_modifications"));
  return path;
}

const std::filesystem::path& constants::get_user_core_configuration_automatic_backups_directory() {
  static const auto& path = keep(join_unless_empty(get_user_configuration_directory(), "automatic_backups"));
  return path;
}

const std::filesystem::path& constants::get_user_data_directory() {
  static const auto& path = keep(path_environment::from_process().user_data_directory());
  return path;
}

const std::filesystem::path& constants::get_user_pid_directory() {
  static const auto& path = keep(join_unless_empty(get_user_data_directory(), "pid"));
  return path;
}

const std::filesystem::path& constants::get_user_log_directory() {
  static const auto& path = keep(join_unless_empty(get_user_data_directory(), "log"));
  return path;
}

} // namespace hbd
