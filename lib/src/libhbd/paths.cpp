#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "libhbd.h"

#include <sys/stat.h>

const char* libhbd_get_distributed_notification_observed_object(void) { return "org.zunto.hobbard"; }

const char* libhbd_get_distributed_notification_console_user_server_is_disabled(void) {
  return "console_user_server_is_disabled";
}

// The paths are computed once and kept for the life of the process, so their characters stay put.

const char* libhbd_get_user_configuration_directory(void) {
  return libhbd::guard_entry_point("libhbd_get_user_configuration_directory", "",
                                   [] { return hbd::constants::get_user_configuration_directory().c_str(); });
}

const char* libhbd_get_user_complex_modifications_assets_directory(void) {
  return libhbd::guard_entry_point("libhbd_get_user_complex_modifications_assets_directory", "", [] {
    return hbd::constants::get_user_complex_modifications_assets_directory().c_str();
  });
}

const char* libhbd_get_system_app_icon_configuration_file_path(void) {
  return libhbd::guard_entry_point("libhbd_get_system_app_icon_configuration_file_path", "", [] {
    return hbd::constants::get_system_app_icon_configuration_file_path().c_str();
  });
}

bool libhbd_system_core_configuration_file_path_exists(void) {
  return libhbd::guard_entry_point("libhbd_system_core_configuration_file_path_exists", false, [] {
    struct stat status {};
    return ::stat(hbd::constants::get_system_core_configuration_file_path().c_str(), &status) == 0;
  });
}
