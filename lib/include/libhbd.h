#ifndef LIBHBD_H
#define LIBHBD_H

/*
 * The plain C interface of the backend client library.
 *
 * Conventions:
 * - No exception leaves an entry point: a failure is logged and gives null, 0, false, an empty string
 *   or a stored error text.
 * - Entry points that act on a member of the component manager (the enable and disable calls) do
 *   nothing before libhbd_initialize and after libhbd_terminate. The others work without it.
 * - Callbacks run on the library's dispatcher thread, never on the caller's thread. Pointers handed
 *   to a callback are valid only during the call unless stated otherwise. A null callback is allowed.
 * - Returned `const char*` paths and names live as long as the process.
 */

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Frame */

/* Starts the library's dispatcher, run-loop threads and component manager, each only if absent. */
void libhbd_initialize(void);

/* Destroys every enabled member (last slot first), then the run-loop threads, then the dispatcher.
 * No callback runs after it returns. Refused (and logged) when called on the dispatcher thread, that
 * is, from inside a library callback, since it would wait for that very thread. */
void libhbd_terminate(void);

void libhbd_set_logging_level_off(void);
void libhbd_set_logging_level_info(void);

/* Configuration monitor and configuration handles */

/* Called with a new handle to the configuration, which the receiver owns and releases with
 * libhbd_core_configuration_terminate: once for the first configuration (defaults when no file
 * loads), then for each loaded configuration that differs, after another process changed the user
 * or the system configuration file. */
typedef void (*libhbd_configuration_monitor_callback)(void* core_configuration_handle, void* context);

/* Returns only after the callback has handled the first configuration, so the callback must not
 * need the calling thread. Refused (and logged) on the dispatcher thread, that is, from inside a
 * library callback, where the first configuration could never arrive. */
void libhbd_enable_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context);
void libhbd_disable_configuration_monitor(void);

/* Saves the configuration to the user configuration file (a dated backup of the old file first) and
 * returns once it is written. A failure's text ("error: ...") is kept for
 * libhbd_core_configuration_get_save_error_message; a success or a null handle clears it. A
 * configuration that did not load never replaces an existing file: that save fails. */
void libhbd_core_configuration_save(void* core_configuration_handle);
/* The last save error, "" after a success. The text belongs to the calling thread and stays valid
 * until that thread calls this function again; calls on other threads do not change it. */
const char* libhbd_core_configuration_get_save_error_message(void);
/* Releases the handle the variable holds and sets the variable to null; nothing for null. */
void libhbd_core_configuration_terminate(void** core_configuration_handle);

/* Backend state files */

/* Called with the watched file's path: once when the monitor starts (also for a missing file), then
 * whenever another process changed the file's bytes (a removed file counts as changed). The path is
 * valid during the call only. */
typedef void (*libhbd_file_monitor_callback)(const char* file_path, void* context);

/* Each enable call replaces a monitor already running on the same file (the new one starts before the
 * old one stops); the disable calls stop it. The first call may come before the enable call returns. */
void libhbd_enable_observer_state_json_file_monitor(libhbd_file_monitor_callback callback, void* context);
void libhbd_disable_observer_state_json_file_monitor(void);
void libhbd_enable_grabber_state_json_file_monitor(libhbd_file_monitor_callback callback, void* context);
void libhbd_disable_grabber_state_json_file_monitor(void);
void libhbd_enable_device_details_json_file_monitor(libhbd_file_monitor_callback callback, void* context);
void libhbd_disable_device_details_json_file_monitor(void);
void libhbd_enable_manipulator_environment_json_file_monitor(libhbd_file_monitor_callback callback, void* context);
void libhbd_disable_manipulator_environment_json_file_monitor(void);
void libhbd_enable_notification_message_json_file_monitor(libhbd_file_monitor_callback callback, void* context);
void libhbd_disable_notification_message_json_file_monitor(void);

/* The "body" string of the notification message file; "" when the file does not hold one, and the
 * previous result when the file cannot be opened. The text belongs to the calling thread and stays
 * valid until that thread calls this function again; calls on other threads do not change it. */
const char* libhbd_get_notification_message_body(void);

/* Names and paths */

const char* libhbd_get_distributed_notification_observed_object(void);
const char* libhbd_get_distributed_notification_console_user_server_is_disabled(void);
/* "" when no user configuration directory is known. */
const char* libhbd_get_user_configuration_directory(void);
const char* libhbd_get_user_complex_modifications_assets_directory(void);
const char* libhbd_get_system_app_icon_configuration_file_path(void);
bool libhbd_system_core_configuration_file_path_exists(void);

/* Single-instance pid file in the user pid directory */

/* Creates the pid directory and leaves a file "doctor" holding "writable" in it; true when that worked. */
bool libhbd_user_pid_directory_writable(void);
/* True when this process holds the lock on the file of that name; false for a null name, a lock held
 * elsewhere, or an unknown pid directory. */
bool libhbd_lock_single_application_with_user_pid_file(const char* pid_file_name);
void libhbd_unlock_single_application(void);

/* Launch agents in the calling user's GUI domain (command results are not reported) */

void libhbd_launchctl_manage_console_user_server(bool enable);
void libhbd_launchctl_manage_notification_window(bool enable);
void libhbd_launchctl_manage_session_monitor(void);
void libhbd_launchctl_restart_console_user_server(void);
void libhbd_launchctl_bootout_console_user_server(void);

/* Backend applications: the int results are the command runner's status, as system() gives it */

int libhbd_launch_event_viewer(void);
int libhbd_launch_menu(void);
int libhbd_launch_settings(void);
void libhbd_launch_multitouch_extension(void);
int libhbd_launch_uninstaller(void);

/* Driver checks: whether the backend's virtual HID driver, keyboard and pointing device are registered */

bool libhbd_driver_running(void);
bool libhbd_virtual_hid_keyboard_exists(void);
bool libhbd_virtual_hid_pointing_exists(void);

/* Frontmost application monitor */

/* Called with the bundle identifier and the executable's path of the application that became
 * frontmost ("" for what is unknown), once when the monitor starts (when an application is frontmost)
 * and then on every activation, also of the same application again. Valid during the call only. */
typedef void (*libhbd_frontmost_application_monitor_callback)(const char* bundle_identifier, const char* file_path,
                                                              void* context);

void libhbd_enable_frontmost_application_monitor(libhbd_frontmost_application_monitor_callback callback,
                                                 void* context);
void libhbd_disable_frontmost_application_monitor(void);

/* Log monitor */

/* Called, about once a second when any of the backend's log files changed size, with the newest 250
 * dated lines of the logs and their rotated files merged in time order. The handle is valid during
 * the call only; read it with the two functions below. */
typedef void (*libhbd_log_monitor_callback)(void* log_lines, void* context);

void libhbd_enable_log_monitor(libhbd_log_monitor_callback callback, void* context);
void libhbd_disable_log_monitor(void);

/* The number of lines behind a handle given to the log monitor's callback; 0 for null. */
size_t libhbd_log_lines_get_size(void* log_lines);
/* One line (valid UTF-8) behind the handle, oldest first; null for a null handle or an index out of
 * range. Valid during the callback only. */
const char* libhbd_log_lines_get_line(void* log_lines, size_t index);

/* Grabber client */

typedef void (*libhbd_grabber_client_connected_callback)(void);
typedef void (*libhbd_grabber_client_connect_failed_callback)(void);
typedef void (*libhbd_grabber_client_closed_callback)(void);

/* Keeps a datagram connection to the grabber daemon's socket, found anew before every attempt and
 * retried every second while it is down. The callbacks report the connection's changes. */
void libhbd_enable_grabber_client(libhbd_grabber_client_connected_callback connected,
                                  libhbd_grabber_client_connect_failed_callback connect_failed,
                                  libhbd_grabber_client_closed_callback closed);
void libhbd_disable_grabber_client(void);

/* Requests to the grabber; made while the connection is down they wait for the next one. Nothing
 * happens while the grabber client is not enabled. */
void libhbd_grabber_client_async_set_app_icon(int32_t number);
void libhbd_grabber_client_async_set_keyboard_type(uint64_t country_code, uint64_t keyboard_type);
/* A null name does nothing. */
void libhbd_grabber_client_async_set_variable(const char* name, int32_t value);
/* As above, and returns once the request has left the send queue, or at the latest after three
 * seconds (the grabber unreachable), or when the grabber client is disabled or the library
 * terminated meanwhile. Refused (and logged) on the dispatcher thread, that is, from inside a
 * library callback, where the request could never leave. */
void libhbd_grabber_client_sync_set_variable(const char* name, int32_t value);

/* Devices: HID values, connected devices, system preferences */

/* Called once per input value of a keyboard, mouse, pointer, joystick or game pad, with the device's
 * registry entry id, the element's usage page, usage and logical range as the device reports them
 * (not checked against each other), and the value. Values without a usage or range are skipped. */
typedef void (*libhbd_hid_value_monitor_callback)(uint64_t registry_entry_id, int32_t usage_page, int32_t usage,
                                                  int64_t logical_max, int64_t logical_min, int64_t integer_value,
                                                  void* context);

/* Matches the devices and opens each one without seizing it, retrying a failed open every 3 seconds
 * while the device stays. */
void libhbd_enable_hid_value_monitor(libhbd_hid_value_monitor_callback callback, void* context);
void libhbd_disable_hid_value_monitor(void);
/* True once any matched device has been opened by the enabled monitor; false without one. */
bool libhbd_hid_value_monitor_observed(void);

/* Called with a new copy of the backend's device list, which the receiver owns: read it with the
 * libhbd_connected_devices_ functions and release it with libhbd_connected_devices_terminate. Called
 * once when the monitor starts (an empty, not loaded list when the devices file is missing), then
 * whenever another process changed the file and it reads as a whole; a broken file is logged and
 * keeps the last list. */
typedef void (*libhbd_connected_devices_monitor_callback)(void* connected_devices, void* context);

void libhbd_enable_connected_devices_monitor(libhbd_connected_devices_monitor_callback callback, void* context);
void libhbd_disable_connected_devices_monitor(void);

/* Reading a list handed to the callback. A null list or an index out of range gives 0, false or "";
 * texts stay valid until the list is released. */
void libhbd_connected_devices_terminate(void** connected_devices);
bool libhbd_connected_devices_is_loaded(void* connected_devices);
size_t libhbd_connected_devices_get_size(void* connected_devices);
const char* libhbd_connected_devices_get_descriptions_manufacturer(void* connected_devices, size_t index);
const char* libhbd_connected_devices_get_descriptions_product(void* connected_devices, size_t index);
const char* libhbd_connected_devices_get_descriptions_transport(void* connected_devices, size_t index);
uint64_t libhbd_connected_devices_get_vendor_id(void* connected_devices, size_t index);
uint64_t libhbd_connected_devices_get_product_id(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_keyboard(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_pointing_device(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_game_pad(void* connected_devices, size_t index);
const char* libhbd_connected_devices_get_device_address(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_built_in_keyboard(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_built_in_trackpad(void* connected_devices, size_t index);
bool libhbd_connected_devices_get_is_built_in_touch_bar(void* connected_devices, size_t index);

/* The system preferences that change keys: the function-key mode and, for each country code 0 to 7,
 * the keyboard type chosen for the backend's virtual keyboard (-1 when none). Valid during the call
 * only. */
typedef struct {
  bool use_fkeys_as_standard_function_keys;
  int32_t keyboard_types[8];
} libhbd_system_preferences_properties;

typedef void (*libhbd_system_preferences_monitor_callback)(const libhbd_system_preferences_properties* properties,
                                                           void* context);

/* Reads the preferences at once and then every 3 seconds; the callback gets the first reading and
 * then each reading that differs from the one before (also when the difference does not show in the
 * structure). */
void libhbd_enable_system_preferences_monitor(libhbd_system_preferences_monitor_callback callback, void* context);
void libhbd_disable_system_preferences_monitor(void);
/* The number of entries of keyboard_types. */
size_t libhbd_system_preferences_properties_get_keyboard_types_size(void);

#ifdef __cplusplus
}
#endif

#endif
