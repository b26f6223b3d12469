/* Compiled as C, so that libhbd.h is proven C-clean. Each row covers one family of entry points: its
 * null-handle, out-of-range and null-text calls, then its normal road on the fixture. */

#include "c_editing_cases.h"

#include "libhbd.h"

#include <stdio.h>
#include <string.h>

typedef struct {
  char text[4096];
  size_t length;
} failures;

static void fail(failures* f, int line, const char* what) {
  if (f->length < sizeof(f->text)) {
    int written = snprintf(f->text + f->length, sizeof(f->text) - f->length, "line %d: %s\n", line, what);
    if (written > 0) {
      f->length += (size_t)written;
    }
  }
}

#define CHECK(condition) \
  do { \
    if (!(condition)) { \
      fail(f, __LINE__, #condition); \
    } \
  } while (0)

static int same(const char* left, const char* right) {
  return left != NULL && right != NULL && strcmp(left, right) == 0;
}

/* The fixture's device with settings of its own, and one the fixture does not list. */
static const libhbd_device_identifiers listed_device = {4660, 22136, NULL, true, false, false};
static const libhbd_device_identifiers unlisted_device = {4660, 1, NULL, false, true, false};

static void global_configuration(void* handle, failures* f) {
  CHECK(!libhbd_core_configuration_get_global_configuration_show_in_menu_bar(NULL));
  libhbd_core_configuration_set_global_configuration_show_in_menu_bar(NULL, true);

  CHECK(!libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(handle));
  CHECK(libhbd_core_configuration_get_global_configuration_show_in_menu_bar(handle));
  libhbd_core_configuration_set_global_configuration_check_for_updates_on_startup(handle, true);
  libhbd_core_configuration_set_global_configuration_show_in_menu_bar(handle, false);
  libhbd_core_configuration_set_global_configuration_show_profile_name_in_menu_bar(handle, true);
  libhbd_core_configuration_set_global_configuration_ask_for_confirmation_before_quitting(handle, false);
  libhbd_core_configuration_set_global_configuration_unsafe_ui(handle, true);
  CHECK(libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(handle));
  CHECK(!libhbd_core_configuration_get_global_configuration_show_in_menu_bar(handle));
  CHECK(libhbd_core_configuration_get_global_configuration_show_profile_name_in_menu_bar(handle));
  CHECK(!libhbd_core_configuration_get_global_configuration_ask_for_confirmation_before_quitting(handle));
  CHECK(libhbd_core_configuration_get_global_configuration_unsafe_ui(handle));
}

static void profiles(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_profiles_size(NULL) == 0);
  CHECK(libhbd_core_configuration_get_profile_name(NULL, 0) == NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_name(NULL) == NULL);
  CHECK(!libhbd_core_configuration_get_profile_selected(NULL, 1));
  libhbd_core_configuration_set_profile_name(NULL, 0, "x");
  libhbd_core_configuration_select_profile(NULL, 0);
  libhbd_core_configuration_push_back_profile(NULL);
  libhbd_core_configuration_erase_profile(NULL, 0);

  CHECK(libhbd_core_configuration_get_profiles_size(handle) == 2);
  CHECK(libhbd_core_configuration_get_profile_name(handle, 2) == NULL);
  CHECK(!libhbd_core_configuration_get_profile_selected(handle, 2));
  CHECK(same(libhbd_core_configuration_get_selected_profile_name(handle), "second"));

  libhbd_core_configuration_set_profile_name(handle, 0, NULL);
  libhbd_core_configuration_set_profile_name(handle, 2, "out of range");
  CHECK(same(libhbd_core_configuration_get_profile_name(handle, 0), "first"));
  libhbd_core_configuration_set_profile_name(handle, 0, "renamed");
  CHECK(same(libhbd_core_configuration_get_profile_name(handle, 0), "renamed"));

  /* Equal to the number of profiles: out of range, nothing changes. */
  libhbd_core_configuration_select_profile(handle, 2);
  CHECK(libhbd_core_configuration_get_profile_selected(handle, 1));
  libhbd_core_configuration_select_profile(handle, 0);
  CHECK(libhbd_core_configuration_get_profile_selected(handle, 0));
  CHECK(!libhbd_core_configuration_get_profile_selected(handle, 1));
  CHECK(same(libhbd_core_configuration_get_selected_profile_name(handle), "renamed"));

  libhbd_core_configuration_push_back_profile(handle);
  CHECK(libhbd_core_configuration_get_profiles_size(handle) == 3);
  CHECK(same(libhbd_core_configuration_get_profile_name(handle, 2), "New profile"));
  CHECK(!libhbd_core_configuration_get_profile_selected(handle, 2));

  /* Erasing the selected profile leaves none marked: the first one stands in. */
  libhbd_core_configuration_erase_profile(handle, 3);
  libhbd_core_configuration_erase_profile(handle, 0);
  CHECK(libhbd_core_configuration_get_profiles_size(handle) == 2);
  CHECK(same(libhbd_core_configuration_get_selected_profile_name(handle), "second"));
  libhbd_core_configuration_erase_profile(handle, 1);
  libhbd_core_configuration_erase_profile(handle, 0);
  CHECK(libhbd_core_configuration_get_profiles_size(handle) == 1);
}

static void parameters(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_selected_profile_parameters_delay_milliseconds_before_open_device(NULL) == 0);
  libhbd_core_configuration_set_selected_profile_parameters_delay_milliseconds_before_open_device(NULL, 5);

  CHECK(libhbd_core_configuration_get_selected_profile_parameters_delay_milliseconds_before_open_device(handle) == 250);
  libhbd_core_configuration_set_selected_profile_parameters_delay_milliseconds_before_open_device(handle, -3);
  CHECK(libhbd_core_configuration_get_selected_profile_parameters_delay_milliseconds_before_open_device(handle) == -3);
}

/* Valid JSON nested far deeper than any real value: "[[[...]]]". */
static const char* deep_json_text(void) {
  static char text[200001];
  memset(text, '[', 100000);
  memset(text + 100000, ']', 100000);
  text[200000] = '\0';
  return text;
}

static void simple_modifications(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(NULL, NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(NULL, 0, NULL) == NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(NULL, 0, NULL) == NULL);
  libhbd_core_configuration_replace_selected_profile_simple_modification(NULL, 0, "{}", "[]", NULL);
  libhbd_core_configuration_push_back_selected_profile_simple_modification(NULL, NULL);
  libhbd_core_configuration_erase_selected_profile_simple_modification(NULL, 0, NULL);

  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, NULL) == 2);
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle, 0, NULL),
             "{\"key_code\":\"a\"}"));
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(handle, 0, NULL),
             "[{\"key_code\":\"b\"}]"));
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle, 2, NULL) == NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(handle, 2, NULL) == NULL);

  /* Null texts, texts that are not JSON and an index out of range change nothing. */
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 0, NULL, "[]", NULL);
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 0, "{}", NULL, NULL);
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 0, "{", "[]", NULL);
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 2, "{}", "[]", NULL);
  libhbd_core_configuration_replace_selected_profile_simple_modification(handle, 0, "{}", deep_json_text(), NULL);
  libhbd_core_configuration_erase_selected_profile_simple_modification(handle, 2, NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, NULL) == 2);
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle, 0, NULL),
             "{\"key_code\":\"a\"}"));

  /* Texts are kept compact; a single "to" object becomes a list of one. */
  libhbd_core_configuration_replace_selected_profile_simple_modification(
      handle, 0, "{ \"key_code\": \"x\" /* comment */ }", "{\"key_code\": \"y\"}", NULL);
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle, 0, NULL),
             "{\"key_code\":\"x\"}"));
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(handle, 0, NULL),
             "[{\"key_code\":\"y\"}]"));

  libhbd_core_configuration_push_back_selected_profile_simple_modification(handle, NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, NULL) == 3);
  CHECK(
      same(libhbd_core_configuration_get_selected_profile_simple_modification_from_json_string(handle, 2, NULL), "{}"));
  CHECK(same(libhbd_core_configuration_get_selected_profile_simple_modification_to_json_string(handle, 2, NULL), "[]"));
  libhbd_core_configuration_erase_selected_profile_simple_modification(handle, 1, NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, NULL) == 2);

  /* A device's list is its own. */
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, &unlisted_device) == 0);
  libhbd_core_configuration_push_back_selected_profile_simple_modification(handle, &unlisted_device);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, &unlisted_device) == 1);
  CHECK(libhbd_core_configuration_get_selected_profile_simple_modifications_size(handle, NULL) == 2);
}

static void fn_function_keys(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_keys_size(NULL, NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(NULL, 0, NULL) == NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(NULL, 0, NULL) == NULL);
  libhbd_core_configuration_replace_selected_profile_fn_function_key(NULL, "{}", "[]", NULL);

  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_keys_size(handle, NULL) == 12);
  CHECK(same(libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(handle, 0, NULL),
             "{\"key_code\":\"f1\"}"));
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(handle, 12, NULL) == NULL);
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(handle, 12, NULL) == NULL);

  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, NULL, "[]", NULL);
  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, "{\"key_code\":\"f1\"}", NULL, NULL);
  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, "not json", "[]", NULL);
  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, "{\"key_code\":\"f1\"}", deep_json_text(),
                                                                     NULL);
  /* Matched as JSON, not as text. */
  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, "{ \"key_code\" : \"f1\" }",
                                                                     "[{\"key_code\":\"escape\"}]", NULL);
  CHECK(same(libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(handle, 0, NULL),
             "[{\"key_code\":\"escape\"}]"));
  CHECK(same(libhbd_core_configuration_get_selected_profile_fn_function_key_from_json_string(handle, 0, NULL),
             "{\"key_code\":\"f1\"}"));

  /* A device's entry brings its own twelve keys. */
  CHECK(libhbd_core_configuration_get_selected_profile_fn_function_keys_size(handle, &unlisted_device) == 12);
  libhbd_core_configuration_replace_selected_profile_fn_function_key(handle, "{\"key_code\":\"f2\"}",
                                                                     "[{\"key_code\":\"a\"}]", &unlisted_device);
  CHECK(same(libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(handle, 1, &unlisted_device),
             "[{\"key_code\":\"a\"}]"));
  CHECK(!same(libhbd_core_configuration_get_selected_profile_fn_function_key_to_json_string(handle, 1, NULL),
              "[{\"key_code\":\"a\"}]"));
}

static void complex_modifications_rules(void* handle, failures* f) {
  char buffer[4096];

  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(NULL, 0) == NULL);
  CHECK(!libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(NULL, 0, buffer,
                                                                                               sizeof(buffer)));
  libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(NULL, 0);
  libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(NULL, 0, 1);
  libhbd_core_configuration_move_selected_profile_complex_modifications_rule(NULL, 0, 1);

  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 3) == NULL);
  libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(handle, 3);
  libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(handle, 0, 3);
  libhbd_core_configuration_move_selected_profile_complex_modifications_rule(handle, 3, 0);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);
  CHECK(same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 0), "one"));
  CHECK(
      same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 2), "three"));

  libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(handle, 0, 2);
  CHECK(
      same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 0), "three"));
  /* Moved to just before the rule at the destination; past the end means the end. */
  libhbd_core_configuration_move_selected_profile_complex_modifications_rule(handle, 0, 100);
  CHECK(same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 0), "two"));
  CHECK(
      same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 2), "three"));
  libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(handle, 0);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 2);
  CHECK(same(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, 0), "one"));
}

static void complex_modifications_rule_json_string(void* handle, failures* f) {
  static const char expected[] = "{\n"
                                 "    \"description\": \"one\",\n"
                                 "    \"manipulators\": [\n"
                                 "        {\n"
                                 "            \"from\": {\n"
                                 "                \"key_code\": \"a\"\n"
                                 "            },\n"
                                 "            \"type\": \"basic\"\n"
                                 "        }\n"
                                 "    ]\n"
                                 "}";
  char buffer[sizeof(expected) + 8];

  /* Out of range, and a null buffer of any length: false, nothing written. */
  memset(buffer, '#', sizeof(buffer));
  CHECK(!libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(handle, 3, buffer,
                                                                                               sizeof(buffer)));
  CHECK(buffer[0] == '#');
  CHECK(!libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(handle, 0, NULL,
                                                                                               sizeof(buffer)));

  /* Room for the text but not its NUL: false, and the buffer stays as it was. */
  CHECK(!libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(handle, 0, buffer,
                                                                                               sizeof(expected) - 1));
  CHECK(buffer[0] == '#');
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(handle, 0, buffer,
                                                                                              sizeof(expected)));
  CHECK(same(buffer, expected));
}

static void complex_modifications_parameters(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(
            NULL, "basic.to_if_alone_timeout_milliseconds") == 0);
  libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(
      NULL, "basic.to_if_alone_timeout_milliseconds", 5);

  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(handle, NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(handle, "unknown") == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(
            handle, "basic.to_if_alone_timeout_milliseconds") == 800);
  libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(handle, NULL, 5);
  libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(
      handle, "basic.to_if_alone_timeout_milliseconds", 300);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(
            handle, "basic.to_if_alone_timeout_milliseconds") == 300);
}

static void virtual_hid_keyboard(void* handle, failures* f) {
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_country_code(NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(NULL) == 0);
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(NULL));
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_country_code(NULL, 1);
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(NULL, 1);
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(NULL, false);

  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_country_code(handle) == 3);
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(handle) == 150);
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_country_code(handle, 255);
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(handle, -5);
  libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(handle,
                                                                                                          false);
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_country_code(handle) == 255);
  CHECK(libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(handle) == 0);
  CHECK(
      !libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(handle));
}

static void device_settings_with_defaults_by_kind(void* handle, failures* f) {
  CHECK(!libhbd_core_configuration_get_selected_profile_device_ignore(NULL, &listed_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_ignore(handle, NULL));
  libhbd_core_configuration_set_selected_profile_device_ignore(NULL, &listed_device, false);
  libhbd_core_configuration_set_selected_profile_device_ignore(handle, NULL, false);

  /* The listed keyboard's entry holds its own values. */
  CHECK(libhbd_core_configuration_get_selected_profile_device_ignore(handle, &listed_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_manipulate_caps_lock_led(handle, &listed_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_treat_as_built_in_keyboard(handle, &listed_device));

  /* The unlisted pointing device reads as a new entry would: ignored, no caps lock LED. */
  CHECK(libhbd_core_configuration_get_selected_profile_device_ignore(handle, &unlisted_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_manipulate_caps_lock_led(handle, &unlisted_device));
  libhbd_core_configuration_set_selected_profile_device_ignore(handle, &unlisted_device, false);
  libhbd_core_configuration_set_selected_profile_device_manipulate_caps_lock_led(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_treat_as_built_in_keyboard(handle, &unlisted_device, true);
  CHECK(!libhbd_core_configuration_get_selected_profile_device_ignore(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_manipulate_caps_lock_led(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_treat_as_built_in_keyboard(handle, &unlisted_device));
}

static void device_settings_false_by_default(void* handle, failures* f) {
  CHECK(!libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(NULL, &listed_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(handle, NULL));
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_x(NULL, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_x(handle, NULL, true);

  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(handle, &listed_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_mouse_flip_y(handle, &listed_device));
  CHECK(!libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(handle, &unlisted_device));

  libhbd_core_configuration_set_selected_profile_device_disable_built_in_keyboard_if_exists(handle, &unlisted_device,
                                                                                            true);
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_x(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_y(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_vertical_wheel(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_flip_horizontal_wheel(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_swap_xy(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_mouse_swap_wheels(handle, &unlisted_device, true);
  libhbd_core_configuration_set_selected_profile_device_game_pad_swap_sticks(handle, &unlisted_device, true);
  CHECK(libhbd_core_configuration_get_selected_profile_device_disable_built_in_keyboard_if_exists(handle,
                                                                                                  &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_flip_y(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_flip_vertical_wheel(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_flip_horizontal_wheel(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_swap_xy(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_mouse_swap_wheels(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_swap_sticks(handle, &unlisted_device));
}

static void device_game_pad_values(void* handle, failures* f) {
  CHECK(!libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(NULL, &listed_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(NULL, &listed_device) == 0.0);
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(handle, NULL) == 0.0);
  CHECK(
      libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, NULL) == 0);
  libhbd_core_configuration_set_selected_profile_device_game_pad_xy_stick_deadzone(NULL, &listed_device, 0.5);
  libhbd_core_configuration_unset_selected_profile_device_game_pad_xy_stick_deadzone(handle, NULL);

  CHECK(libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(handle, &listed_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(handle, &listed_device) ==
        0.25);
  libhbd_core_configuration_unset_selected_profile_device_game_pad_xy_stick_deadzone(handle, &listed_device);
  CHECK(!libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(handle, &listed_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(handle, &listed_device) ==
        0.1);

  CHECK(
      !libhbd_core_configuration_has_selected_profile_device_game_pad_wheels_stick_deadzone(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_wheels_stick_deadzone(handle,
                                                                                             &unlisted_device) == 0.1);
  libhbd_core_configuration_set_selected_profile_device_game_pad_wheels_stick_deadzone(handle, &unlisted_device, 0.75);
  CHECK(libhbd_core_configuration_has_selected_profile_device_game_pad_wheels_stick_deadzone(handle, &unlisted_device));
  CHECK(libhbd_core_configuration_get_selected_profile_device_game_pad_wheels_stick_deadzone(handle,
                                                                                             &unlisted_device) == 0.75);

  CHECK(
      libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, &unlisted_device) == 500);
  libhbd_core_configuration_set_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
      handle, &unlisted_device, 40);
  CHECK(
      libhbd_core_configuration_has_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, &unlisted_device));
  CHECK(
      libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, &unlisted_device) == 40);
  libhbd_core_configuration_unset_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
      handle, &unlisted_device);
  CHECK(
      !libhbd_core_configuration_has_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, &unlisted_device));
  CHECK(
      libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
          handle, &unlisted_device) == 500);
}

/* Asset files as the fixture leaves them: none in the user's folder and no example file. */
static void complex_modifications_assets(void* handle, failures* f) {
  int round;
  /* Without the manager, before the first reload, and after a reload that found nothing. */
  for (round = 0; round < 3; ++round) {
    if (round == 1) {
      libhbd_enable_complex_modifications_assets_manager();
    }
    if (round == 2) {
      libhbd_complex_modifications_assets_manager_reload();
    }
    CHECK(libhbd_complex_modifications_assets_manager_get_files_size() == 0);
    CHECK(libhbd_complex_modifications_assets_manager_get_file_title(0) == NULL);
    CHECK(libhbd_complex_modifications_assets_manager_get_file_last_write_time(0) == 0);
    CHECK(libhbd_complex_modifications_assets_manager_get_rules_size(0) == 0);
    CHECK(libhbd_complex_modifications_assets_manager_get_rule_description(0, 0) == NULL);
    CHECK(!libhbd_complex_modifications_assets_manager_user_file(0));
    libhbd_complex_modifications_assets_manager_erase_file(0);
    libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(0, 0, handle);
    libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(0, 0, NULL);
  }
  libhbd_disable_complex_modifications_assets_manager();
  libhbd_complex_modifications_assets_manager_reload();
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);
}

static void event_names(void* handle, failures* f) {
  char buffer[64];
  (void)handle;

  CHECK(libhbd_is_momentary_switch_event_target(7, 4));
  CHECK(!libhbd_is_momentary_switch_event_target(7, 3));
  CHECK(libhbd_is_momentary_switch_event_target(9, 33));
  CHECK(!libhbd_is_momentary_switch_event_target(12, 1));
  CHECK(libhbd_is_modifier_flag(7, 225));
  CHECK(libhbd_is_modifier_flag(0xFF, 3));
  CHECK(!libhbd_is_modifier_flag(7, 57));

  libhbd_get_momentary_switch_event_json_string(buffer, sizeof(buffer), 7, 4);
  CHECK(same(buffer, "{\"key_code\":\"a\"}"));
  libhbd_get_momentary_switch_event_json_string(buffer, sizeof(buffer), 9, 2);
  CHECK(same(buffer, "{\"pointing_button\":\"button2\"}"));
  libhbd_get_momentary_switch_event_json_string(buffer, sizeof(buffer), 12, 1);
  CHECK(same(buffer, "{\"usage\":1,\"usage_page\":12}"));

  libhbd_get_momentary_switch_event_usage_name(buffer, sizeof(buffer), 7, 4);
  CHECK(same(buffer, "\"a\""));
  libhbd_get_momentary_switch_event_usage_name(buffer, sizeof(buffer), 9, 1);
  CHECK(same(buffer, "\"button1\""));
  libhbd_get_momentary_switch_event_usage_name(buffer, sizeof(buffer), 12, 1);
  CHECK(same(buffer, "1"));

  CHECK(libhbd_get_modifier_flag_name(buffer, sizeof(buffer), 7, 224) == 12);
  CHECK(same(buffer, "left_control"));
  CHECK(libhbd_get_modifier_flag_name(buffer, sizeof(buffer), 0xFF01, 3) == 2);
  CHECK(same(buffer, "fn"));
  CHECK(libhbd_get_modifier_flag_name(buffer, sizeof(buffer), 7, 4) == 0);
  CHECK(same(buffer, ""));

  libhbd_get_simple_modification_json_string(buffer, sizeof(buffer), 7, 4);
  CHECK(same(buffer, "{\"from\":{\"key_code\":\"a\"}}"));
  libhbd_get_simple_modification_json_string(buffer, sizeof(buffer), 9, 1);
  CHECK(same(buffer, ""));
  libhbd_get_simple_modification_json_string(buffer, sizeof(buffer), 9, 2);
  CHECK(same(buffer, "{\"from\":{\"pointing_button\":\"button2\"}}"));

  /* A length of 0 or a null buffer is left alone; the flag name's length still comes back. Otherwise
   * the text is cut to fit. */
  memset(buffer, '#', sizeof(buffer));
  libhbd_get_momentary_switch_event_json_string(buffer, 0, 7, 4);
  libhbd_get_momentary_switch_event_usage_name(NULL, sizeof(buffer), 7, 4);
  libhbd_get_simple_modification_json_string(NULL, sizeof(buffer), 7, 4);
  CHECK(libhbd_get_modifier_flag_name(buffer, 0, 7, 231) == 13);
  CHECK(libhbd_get_modifier_flag_name(NULL, 8, 7, 231) == 13);
  CHECK(buffer[0] == '#');
  CHECK(libhbd_get_modifier_flag_name(buffer, 6, 7, 231) == 13);
  CHECK(same(buffer, "right"));
  libhbd_get_momentary_switch_event_json_string(buffer, 5, 7, 4);
  CHECK(same(buffer, "{\"ke"));
}

static int starts_with(const char* text, const char* prefix) {
  return text != NULL && strncmp(text, prefix, strlen(prefix)) == 0;
}

static const char* rule_description(void* handle, size_t index) {
  return libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle, index);
}

static void complex_modifications_rule_checking(void* handle, failures* f) {
  static const char valid[] = "{\"description\": \"new\", \"manipulators\": [{\"type\": \"basic\", \"from\": "
                              "{\"key_code\": \"a\"}, \"to\": [{\"key_code\": \"b\"}]}]}";
  static const char rejected[] = "{\"description\": \"bad\", \"manipulators\": [{\"type\": \"Basic\"}, "
                                 "{\"type\": \"basic\", \"from\": {\"key_code\": \"a\"}}, {\"type\": \"weird\"}]}";
  char buffer[512];

  /* A null handle, a null text and an index out of range store nothing and leave the buffer empty. */
  memset(buffer, '#', sizeof(buffer));
  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(NULL, 0, valid, buffer, sizeof(buffer));
  CHECK(same(buffer, ""));
  memset(buffer, '#', sizeof(buffer));
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(NULL, valid, buffer, sizeof(buffer));
  CHECK(same(buffer, ""));
  memset(buffer, '#', sizeof(buffer));
  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(handle, 0, NULL, buffer,
                                                                                sizeof(buffer));
  CHECK(same(buffer, ""));
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, NULL, buffer,
                                                                                   sizeof(buffer));
  CHECK(same(buffer, ""));
  memset(buffer, '#', sizeof(buffer));
  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(handle, 3, valid, buffer,
                                                                                sizeof(buffer));
  CHECK(same(buffer, ""));
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);
  CHECK(same(rule_description(handle, 0), "one"));

  /* A null buffer counts as length 0, whatever length comes with it. */
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, rejected, NULL, 512);
  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(handle, 0, "{", NULL, 512);
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);
  CHECK(same(rule_description(handle, 0), "one"));

  /* What validation finds, one line per manipulator that fails, without a trailing newline. */
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, rejected, buffer,
                                                                                   sizeof(buffer));
  CHECK(same(buffer, "`bad` error: unknown type `Basic`\n`bad` error: unknown type `weird`"));
  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(handle, 1, rejected, buffer, 12);
  CHECK(same(buffer, "`bad` error"));
  CHECK(same(rule_description(handle, 1), "two"));

  /* Texts that are not JSON, not a rule or nested too deep. */
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, "{", buffer, sizeof(buffer));
  CHECK(starts_with(buffer, "error: [json.exception.parse_error.101]"));
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, "[]", buffer,
                                                                                   sizeof(buffer));
  CHECK(starts_with(buffer, "error: "));
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, deep_json_text(), buffer,
                                                                                   sizeof(buffer));
  CHECK(starts_with(buffer, "error: "));
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 3);

  libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(handle, 1, valid, buffer,
                                                                                sizeof(buffer));
  CHECK(same(buffer, ""));
  CHECK(same(rule_description(handle, 1), "new"));
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, valid, buffer,
                                                                                   sizeof(buffer));
  CHECK(same(buffer, ""));
  CHECK(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle) == 4);
  CHECK(same(rule_description(handle, 0), "new"));
  CHECK(same(rule_description(handle, 1), "one"));
}

static void new_complex_modifications_rule(void* handle, failures* f) {
  char buffer[2048];
  char error_message[256];

  memset(buffer, '#', sizeof(buffer));
  libhbd_core_configuration_get_new_complex_modifications_rule_json_string(NULL, sizeof(buffer));
  libhbd_core_configuration_get_new_complex_modifications_rule_json_string(buffer, 0);
  CHECK(buffer[0] == '#');
  libhbd_core_configuration_get_new_complex_modifications_rule_json_string(buffer, 3);
  CHECK(same(buffer, "{\n"));
  libhbd_core_configuration_get_new_complex_modifications_rule_json_string(buffer, sizeof(buffer));
  CHECK(starts_with(buffer, "{\n    \"description\": \"New Rule (change left_shift+caps_lock to page_down, "
                            "right_shift+caps_lock to left_command+mission_control)\",\n"));

  /* The template is a rule that passes validation. */
  libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(handle, buffer, error_message,
                                                                                   sizeof(error_message));
  CHECK(same(error_message, ""));
  CHECK(starts_with(rule_description(handle, 0), "New Rule ("));
}

static const struct {
  const char* name;
  void (*run)(void* handle, failures* f);
} cases[] = {
    {"global_configuration", global_configuration},
    {"profiles", profiles},
    {"parameters", parameters},
    {"simple_modifications", simple_modifications},
    {"fn_function_keys", fn_function_keys},
    {"complex_modifications_rules", complex_modifications_rules},
    {"complex_modifications_rule_json_string", complex_modifications_rule_json_string},
    {"complex_modifications_parameters", complex_modifications_parameters},
    {"virtual_hid_keyboard", virtual_hid_keyboard},
    {"device_settings_with_defaults_by_kind", device_settings_with_defaults_by_kind},
    {"device_settings_false_by_default", device_settings_false_by_default},
    {"device_game_pad_values", device_game_pad_values},
    {"complex_modifications_assets", complex_modifications_assets},
    {"event_names", event_names},
    {"complex_modifications_rule_checking", complex_modifications_rule_checking},
    {"new_complex_modifications_rule", new_complex_modifications_rule},
};

size_t hbd_c_editing_cases_size(void) { return sizeof(cases) / sizeof(cases[0]); }

const char* hbd_c_editing_case_name(size_t index) { return cases[index].name; }

const char* hbd_c_editing_case_run(size_t index, void* core_configuration_handle) {
  static failures f;
  f.length = 0;
  f.text[0] = '\0';
  cases[index].run(core_configuration_handle, &f);
  return f.text;
}
