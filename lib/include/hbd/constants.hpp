#pragma once

#include <filesystem>

namespace hbd {

// Every file and directory shared with the backend's daemons. Each path is computed on its first
// use and then kept for the life of the process; the references stay valid until it ends.
// System paths lie under HBD_SYSTEM_ROOT ("/" unless set). User paths are empty when no per-user
// home is known, and so is every path built on an empty one.
class constants final {
public:
  constants() = delete;

  static const std::filesystem::path& get_system_configuration_directory();
  static const std::filesystem::path& get_system_core_configuration_file_path();
  static const std::filesystem::path& get_system_app_icon_configuration_file_path();
  static const std::filesystem::path& get_tmp_directory();
  static const std::filesystem::path& get_grabber_socket_directory_path();
  static const std::filesystem::path& get_devices_json_file_path();
  static const std::filesystem::path& get_grabber_state_json_file_path();
  static const std::filesystem::path& get_observer_state_json_file_path();
  static const std::filesystem::path& get_device_details_json_file_path();
  static const std::filesystem::path& get_manipulator_environment_json_file_path();
  static const std::filesystem::path& get_notification_message_file_path();
  static const std::filesystem::path& get_version_file_path();
  // The daemons' log files.
  static const std::filesystem::path& get_system_log_directory();

  static const std::filesystem::path& get_user_configuration_directory();
  static const std::filesystem::path& get_user_core_configuration_file_path();
  static const std::filesystem::path& get_user_complex_modifications_assets_directory();
  static const std::filesystem::path& get_user_core_configuration_automatic_backups_directory();
  static const std::filesystem::path& get_user_data_directory();
  static const std::filesystem::path& get_user_pid_directory();
  static const std::filesystem::path& get_user_log_directory();
};

} // namespace hbd
