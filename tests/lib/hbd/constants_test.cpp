#include "hbd/constants.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

} // namespace

TEST(constants, system_paths_have_their_exact_text_under_the_system_root) {
  // The shared test main points HBD_SYSTEM_ROOT at a fresh folder.
  const std::string root = variable("HBD_SYSTEM_ROOT");
  ASSERT_FALSE(root.empty());
  const std::string support = root + "/Library/Application Support/org.zunto";
  const struct {
    const std::filesystem::path& actual;
    std::string expected;
  } cases[] = {
      {hbd::constants::get_system_configuration_directory(), support + "/config"},
      {hbd::constants::get_system_core_configuration_file_path(), support + "/config/hobbard.json"},
      {hbd::constants::get_system_app_icon_configuration_file_path(), support + "/config/hobbard_app_icon.json"},
      {hbd::constants::get_tmp_directory(), support + "/tmp"},
      {hbd::constants::get_grabber_socket_directory_path(), support + "/tmp/hbd_grabber"},
      {hbd::constants::get_devices_json_file_path(), support + "/tmp/hobbard_grabber_devices.json"},
      {hbd::constants::get_grabber_state_json_file_path(), support + "/tmp/hobbard_grabber_state.json"},
      {hbd::constants::get_observer_state_json_file_path(), support + "/tmp/hobbard_observer_state.json"},
      {hbd::constants::get_device_details_json_file_path(), support + "/tmp/hobbard_grabber_device_details.json"},
      {hbd::constants::get_manipulator_environment_json_file_path(),
       support + "/tmp/hobbard_grabber_manipulator_environment.json"},
      {hbd::constants::get_notification_message_file_path(), support + "/tmp/hobbard_notification_message.json"},
      {hbd::constants::get_version_file_path(), support + "/Hobbard-Suite/version"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.actual.string(), c.expected);
  }
}

TEST(constants, user_paths_have_their_exact_text_under_the_xdg_folders) {
  const std::string configuration = variable("XDG_CONFIG_HOME") + "/hobbard";
  const std::string data = variable("XDG_DATA_HOME") + "/hobbard";
  ASSERT_NE(configuration, "/hobbard");
  ASSERT_NE(data, "/hobbard");
  const struct {
    const std::filesystem::path& actual;
    std::string expected;
  } cases[] = {
      {hbd::constants::get_user_configuration_directory(), configuration},
      {hbd::constants::get_user_core_configuration_file_path(), configuration + "/hobbard.json"},
      {hbd::constants::get_user_complex_modifications_assets_directory(),
       configuration + "/assets/complex_modifications"},
      {hbd::constants::get_user_core_configuration_automatic_backups_directory(), configuration + "/automatic_backups"},
      {hbd::constants::get_user_data_directory(), data},
      {hbd::constants::get_user_pid_directory(), data + "/pid"},
      {hbd::constants::get_user_log_directory(), data + "/log"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.actual.string(), c.expected);
  }
}

// The getters read the environment once per process, so the fallbacks run in a fresh child.
TEST(constants_death_test, user_paths_fall_back_to_home_and_never_change_afterwards) {
  const auto check = [] {
    unsetenv("XDG_CONFIG_HOME");
    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", "/Users/u", 1);
    bool ok = hbd::constants::get_user_core_configuration_file_path() == "/Users/u/.config/hobbard/hobbard.json" &&
              hbd::constants::get_user_configuration_directory() == "/Users/u/.config/hobbard" &&
              hbd::constants::get_user_data_directory().empty() && hbd::constants::get_user_pid_directory().empty() &&
              hbd::constants::get_user_log_directory().empty();
    setenv("XDG_CONFIG_HOME", "/x", 1);
    setenv("XDG_DATA_HOME", "/y", 1);
    ok = ok && hbd::constants::get_user_configuration_directory() == "/Users/u/.config/hobbard" &&
         hbd::constants::get_user_core_configuration_automatic_backups_directory() ==
             "/Users/u/.config/hobbard/automatic_backups" &&
         hbd::constants::get_user_log_directory().empty();
    std::exit(ok ? 0 : 1);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}
