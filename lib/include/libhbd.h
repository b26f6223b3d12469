#ifndef LIBHBD_H
#define LIBHBD_H

/*
 * The plain C interface of the backend client library.
 *
 * Conventions:
 * - No exception leaves an entry point: a failure is logged and gives null, 0, false, an empty string
 *   or a stored error text.
 * - Entry points that act on a member of the component manager do nothing, or give 0, false or null,
 *   before libhbd_initialize and after libhbd_terminate: the enable and disable calls, and the calls
 *   that go through an enabled member (the asset-file list, the grabber client's requests,
 *   libhbd_hid_value_monitor_observed). The others work without it.
 * - Callbacks run on the library's dispatcher thread, never on the caller's thread. Pointers handed
 *   to a callback are valid only during the call unless stated otherwise. A null callback is allowed.
 * - Returned `const char*` paths and names live as long as the process.
 *
 * Threads:
 * - May be called from any thread, also at the same time: libhbd_initialize and libhbd_terminate
 *   (not from inside a callback), the logging level, every enable and disable call, the asset-file
 *   list, the grabber client's requests, libhbd_hid_value_monitor_observed, the names and paths, the
 *   pid-file lock, the launch agents, applications and driver checks, the event names and
 *   libhbd_get_notification_message_body.
 * - A configuration handle is like a FILE* without locking: every call that takes it (getters, edits,
 *   libhbd_core_configuration_save, libhbd_core_configuration_terminate) must come from one thread at
 *   a time, so a caller that shares a handle between threads locks around each call. Different
 *   handles may be used on different threads at once.
 * - A device list handed to the connected-devices callback is only read: several threads may read it
 *   at once, and it is released once no thread reads it any more.
 * - The process may exit without libhbd_terminate while members run: what they use stays in place.
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
 * or the system configuration file (or, for a file that is a symbolic link, what it leads to). It
 * is compared with the last one announced or, when this process saved one since, with what it saved
 * last: another process bringing back the file as it was before that save is announced. */
typedef void (*libhbd_configuration_monitor_callback)(void* core_configuration_handle, void* context);

/* Returns only after the callback has handled the first configuration, so the callback must not
 * need the calling thread. Refused (and logged) on the dispatcher thread, that is, from inside a
 * library callback, where the first configuration could never arrive. */
void libhbd_enable_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context);
/* No callback follows it, also when it is called inside a callback, the first one included. */
void libhbd_disable_configuration_monitor(void);

/* Saves the configuration to the user configuration file (a dated backup of the old file first) and
 * returns once it is written; also before libhbd_initialize and after libhbd_terminate. A failure's
 * text ("error: ...") is kept for the calling thread's libhbd_core_configuration_get_save_error_message;
 * a success or a null handle clears it. A failed save leaves the file as it was. A configuration that
 * did not load never replaces an existing file, and one whose file would not load again (nested
 * deeper than 512 levels, or larger than 33554432 bytes) is not written: those saves fail. Programs
 * saving the same file at once never spoil each other's saves: the last one written stays. */
void libhbd_core_configuration_save(void* core_configuration_handle);
/* The error of the calling thread's last save, "" after a success or before its first save; saves
 * on other threads do not change it. The text stays valid until this thread calls this function
 * again. */
const char* libhbd_core_configuration_get_save_error_message(void);
/* Releases the handle the variable holds and sets the variable to null; nothing for null. */
void libhbd_core_configuration_terminate(void** core_configuration_handle);

/* Version monitor */

/* Called once when the backend's version file changed its bytes through another process; a missing
 * file is not a change, and neither is its return with the content it had. */
typedef void (*libhbd_version_monitor_callback)(void* context);

void libhbd_enable_version_monitor(libhbd_version_monitor_callback callback, void* context);
void libhbd_disable_version_monitor(void);

/* Per-device settings of the selected profile. A null handle or null identifiers make a getter
 * give false, 0 or 0.0 and a setter do nothing. */

/* Names one device; a null device_address is the empty address. */
typedef struct {
  uint64_t vendor_id;
  uint64_t product_id;
  const char* device_address;
  bool is_keyboard;
  bool is_pointing_device;
  bool is_game_pad;
} libhbd_device_identifiers;

/* Without an entry for the device, the getters give what a new entry for it would hold; the
 * setters add the entry when missing. */
bool libhbd_core_configuration_get_selected_profile_device_ignore(void* core_configuration_handle,
                                                                  const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_ignore(void* core_configuration_handle,
                                                                  const libhbd_device_identifiers* device_identifiers,
                                                                  bool value);
bool libhbd_core_configuration_get_selected_profile_device_manipulate_caps_lock_led(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_manipulate_caps_lock_led(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_treat_as_built_in_keyboard(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_treat_as_built_in_keyboard(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);

/* False for a device without an entry, which the getters do not add. */
bool libhbd_core_configuration_get_selected_profile_device_disable_built_in_keyboard_if_exists(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_disable_built_in_keyboard_if_exists(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_flip_x(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_y(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_flip_y(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_vertical_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_flip_vertical_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_horizontal_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_flip_horizontal_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_swap_xy(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_swap_xy(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_mouse_swap_wheels(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_mouse_swap_wheels(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);
bool libhbd_core_configuration_get_selected_profile_device_game_pad_swap_sticks(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_game_pad_swap_sticks(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value);

/* Game-pad values: has tells whether the device's entry holds one; get gives it or the default (0.1,
 * 0.1 and 500); unset brings the default back. A deadzone of NaN or infinity, which the file cannot
 * hold, is refused and logged: nothing changes. */
bool libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
double libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, double value);
void libhbd_core_configuration_unset_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
bool libhbd_core_configuration_has_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
double libhbd_core_configuration_get_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, double value);
void libhbd_core_configuration_unset_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
bool libhbd_core_configuration_has_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
int32_t
libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_set_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, int32_t value);
void libhbd_core_configuration_unset_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);

/* Configuration editing through a handle. Nothing here writes the file: libhbd_core_configuration_save
 * does. A null handle, an index out of range or a null text makes a getter give false, 0 or null and
 * a setter do nothing. Returned texts point into the configuration and stay valid until that value
 * changes or the handle is released. Buffers: a null buffer counts as length 0, and a buffer of
 * length 0 is left untouched. A handle is used from one thread at a time (see Threads above). */

bool libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(void* core_configuration_handle);
void libhbd_core_configuration_set_global_configuration_check_for_updates_on_startup(void* core_configuration_handle,
                                                                                     bool value);
bool libhbd_core_configuration_get_global_configuration_show_in_menu_bar(void* core_configuration_handle);
void libhbd_core_configuration_set_global_configuration_show_in_menu_bar(void* core_configuration_handle, bool value);
bool libhbd_core_configuration_get_global_configuration_show_profile_name_in_menu_bar(void* core_configuration_handle);
void libhbd_core_configuration_set_global_configuration_show_profile_name_in_menu_bar(void* core_configuration_handle,
                                                                                      bool value);
bool libhbd_core_configuration_get_global_configuration_ask_for_confirmation_before_quitting(
    void* core_configuration_handle);
void libhbd_core_configuration_set_global_configuration_ask_for_confirmation_before_quitting(
    void* core_configuration_handle, bool value);
bool libhbd_core_configuration_get_global_configuration_unsafe_ui(void* core_configuration_handle);
void libhbd_core_configuration_set_global_configuration_unsafe_ui(void* core_configuration_handle, bool value);

/* Profiles. The selected profile is the first one marked selected, else the first one. */
size_t libhbd_core_configuration_get_profiles_size(void* core_configuration_handle);
const char* libhbd_core_configuration_get_profile_name(void* core_configuration_handle, size_t index);
void libhbd_core_configuration_set_profile_name(void* core_configuration_handle, size_t index, const char* value);
bool libhbd_core_configuration_get_profile_selected(void* core_configuration_handle, size_t index);
void libhbd_core_configuration_select_profile(void* core_configuration_handle, size_t index);
const char* libhbd_core_configuration_get_selected_profile_name(void* core_configuration_handle);
/* Appends "New profile". */
void libhbd_core_configuration_push_back_profile(void* core_configuration_handle);
/* The last profile is never erased. */
void libhbd_core_configuration_erase_profile(void* core_configuration_handle, size_t index);

int32_t libhbd_core_configuration_get_selected_profile_parameters_delay_milliseconds_before_open_device(
    void* core_configuration_handle);
void libhbd_core_configuration_set_selected_profile_parameters_delay_milliseconds_before_open_device(
    void* core_configuration_handle, int32_t value);

/* Simple modifications and fn-function keys of the selected profile: pairs of JSON texts. Null
 * identifiers name the profile's own list; others the list of that device's entry, which every call
 * adds when missing, a size query too. */
size_t libhbd_core_configuration_get_selected_profile_simple_modifications_size(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
const char* libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers);
const char* libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers);
/* Nothing when a text is not JSON or nests deeper than 505 levels (a deeper one could not be saved). */
void libhbd_core_configuration_replace_selected_profile_simple_modification(
    void* core_configuration_handle, size_t index, const char* from_json, const char* to_json,
    const libhbd_device_identifiers* device_identifiers);
/* Appends the empty pair ("{}", "[]"). */
void libhbd_core_configuration_push_back_selected_profile_simple_modification(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
void libhbd_core_configuration_erase_selected_profile_simple_modification(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers);

size_t libhbd_core_configuration_get_selected_profile_fn_function_keys_size(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers);
const char* libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers);
const char* libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(
    void* core_configuration_handle, size_t index, const libhbd_device_identifiers* device_identifiers);
/* Sets the "to" of the pair whose "from" equals from_json as JSON; nothing when a text is not JSON or
 * nests too deep, as above. */
void libhbd_core_configuration_replace_selected_profile_fn_function_key(
    void* core_configuration_handle, const char* from_json, const char* to_json,
    const libhbd_device_identifiers* device_identifiers);

/* Complex-modification rules of the selected profile */
size_t libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(void* core_configuration_handle);
void libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                 size_t index);
void libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(void* core_configuration_handle,
                                                                                 size_t index1, size_t index2);
/* Moves the rule to just before the rule standing at destination_index; past the end means the end. */
void libhbd_core_configuration_move_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                size_t source_index,
                                                                                size_t destination_index);
const char* libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(
    void* core_configuration_handle, size_t index);
/* Checked rule edits: the rule is read with the selected profile's parameters and validated. The buffer
   gets "" on success (and the rule is stored), else one finding a line or "error: {0}"; a null text or an
   index out of range stores nothing. A null buffer counts as length 0. */
void libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                   size_t index, const char* json,
                                                                                   char* error_message_buffer,
                                                                                   size_t length);
void libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                      const char* json,
                                                                                      char* error_message_buffer,
                                                                                      size_t length);
/* The sample text of a new rule, cut to fit. */
void libhbd_core_configuration_get_new_complex_modifications_rule_json_string(char* buffer, size_t length);
/* The rule as JSON indented by 4. Unlike the other buffer functions this one does not cut: it gives
 * false and leaves the buffer unwritten when the text and its NUL do not fit. */
bool libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(
    void* core_configuration_handle, size_t index, char* buffer, size_t length);
/* 0 for an unknown name. */
int32_t libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(void* core_configuration_handle,
                                                                                       const char* name);
void libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(void* core_configuration_handle,
                                                                                    const char* name, int32_t value);

/* Virtual keyboard of the selected profile */
uint8_t libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_country_code(
    void* core_configuration_handle);
void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_country_code(void* core_configuration_handle,
                                                                                      uint8_t value);
int32_t libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(
    void* core_configuration_handle);
/* A negative scale is stored as 0. */
void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(
    void* core_configuration_handle, int32_t value);
/* True for a null handle. */
bool libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(
    void* core_configuration_handle);
void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(
    void* core_configuration_handle, bool value);

/* Complex-modification asset files: the backend's example file, then the files of the user's assets
 * folder, sorted by title. The list is empty until the first reload; without the manager every call
 * gives 0, false or null. Returned texts stay valid until the next reload or the manager's end.
 * Several threads may use the list at once, each call seeing it whole; a reload on one thread ends
 * the texts another thread was given, so threads that share the list copy texts under a lock. */
void libhbd_enable_complex_modifications_assets_manager(void);
void libhbd_disable_complex_modifications_assets_manager(void);
void libhbd_complex_modifications_assets_manager_reload(void);
size_t libhbd_complex_modifications_assets_manager_get_files_size(void);
const char* libhbd_complex_modifications_assets_manager_get_file_title(size_t index);
/* Seconds since the epoch; 0 when unknown. */
int64_t libhbd_complex_modifications_assets_manager_get_file_last_write_time(size_t index);
size_t libhbd_complex_modifications_assets_manager_get_rules_size(size_t file_index);
const char* libhbd_complex_modifications_assets_manager_get_rule_description(size_t file_index, size_t index);
/* Inserts a copy of the rule before the first rule of the selected profile. A rule nested deeper than
 * 507 levels, which a save could not write, is refused and logged, here and in the checked rule edits. */
void libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(
    size_t file_index, size_t index, void* core_configuration_handle);
/* Whether the file lies in the user's assets folder. */
bool libhbd_complex_modifications_assets_manager_user_file(size_t file_index);
/* Removes a user file from disk; other files are never removed. The list keeps the file until the
 * next reload. */
void libhbd_complex_modifications_assets_manager_erase_file(size_t file_index);

/* Event names: a HID usage in the backend's vocabulary. Buffers are filled with as much as fits (a null
 * buffer counts as length 0, and a length of 0 leaves the buffer untouched). */

/* Whether the backend handles the usage as a key or button. */
bool libhbd_is_momentary_switch_event_target(int32_t usage_page, int32_t usage);
bool libhbd_is_modifier_flag(int32_t usage_page, int32_t usage);
/* The event's JSON, such as {"key_code":"a"}; for a usage without a name {"usage":N,"usage_page":P}. */
void libhbd_get_momentary_switch_event_json_string(char* buffer, size_t length, int32_t usage_page, int32_t usage);
/* The event's name as JSON text, such as "a" in double quotes; for a usage without a name the bare
 * usage number. */
void libhbd_get_momentary_switch_event_usage_name(char* buffer, size_t length, int32_t usage_page, int32_t usage);
/* The modifier's name, "" for a usage that is no modifier; returns the name's full length. */
size_t libhbd_get_modifier_flag_name(char* buffer, size_t length, int32_t usage_page, int32_t usage);
/* {"from":<the event's JSON>}; "" for a usage without a name and for the first pointing button. */
void libhbd_get_simple_modification_json_string(char* buffer, size_t length, int32_t usage_page, int32_t usage);

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

void libhbd_enable_frontmost_application_monitor(libhbd_frontmost_application_monitor_callback callback, void* context);
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
