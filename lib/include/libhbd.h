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

/* Starts the library's dispatcher, run-loop threads and component manager, each only if absent.
 * Refused (and logged) inside a library callback: a terminate on another thread would wait for the
 * callback while the callback waited for the terminate. */
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

#ifdef __cplusplus
}
#endif

#endif
