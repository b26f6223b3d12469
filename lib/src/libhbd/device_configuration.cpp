#include "core_configuration_editing.hpp"
#include "libhbd.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

using hbd::core_configuration::details::device;
using hbd::core_configuration::details::profile;

// A setting that defaults to false: an entry is only read, never added, by the getter.
bool find_device_flag(const profile& selected, const hbd::device_identifiers& identifiers,
                      bool (device::*getter)() const) {
  const auto& devices = selected.get_devices();
  const auto it =
      std::find_if(devices.begin(), devices.end(), [&](const device& d) { return d.get_identifiers() == identifiers; });
  return it != devices.end() && ((*it).*getter)();
}

} // namespace

bool libhbd_core_configuration_get_selected_profile_device_ignore(void* core_configuration_handle,
                                                                  const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers, false,
      [](const profile& p, const hbd::device_identifiers& identifiers) { return p.get_device_ignore(identifiers); });
}

void libhbd_core_configuration_set_selected_profile_device_ignore(void* core_configuration_handle,
                                                                  const libhbd_device_identifiers* device_identifiers,
                                                                  bool value) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [&](profile& p, const hbd::device_identifiers& identifiers) { p.set_device_ignore(identifiers, value); });
}

bool libhbd_core_configuration_get_selected_profile_device_manipulate_caps_lock_led(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.get_device_manipulate_caps_lock_led(identifiers);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_manipulate_caps_lock_led(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_manipulate_caps_lock_led(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_treat_as_built_in_keyboard(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.get_device_treat_as_built_in_keyboard(identifiers);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_treat_as_built_in_keyboard(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_treat_as_built_in_keyboard(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_disable_built_in_keyboard_if_exists(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(
                                                    p, identifiers, &device::get_disable_built_in_keyboard_if_exists);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_disable_built_in_keyboard_if_exists(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_disable_built_in_keyboard_if_exists(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_x(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers, &device::get_mouse_flip_x);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_flip_x(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [&](profile& p, const hbd::device_identifiers& identifiers) { p.set_device_mouse_flip_x(identifiers, value); });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_y(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers, &device::get_mouse_flip_y);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_flip_y(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [&](profile& p, const hbd::device_identifiers& identifiers) { p.set_device_mouse_flip_y(identifiers, value); });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_vertical_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers,
                                                                        &device::get_mouse_flip_vertical_wheel);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_flip_vertical_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_mouse_flip_vertical_wheel(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_flip_horizontal_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers,
                                                                        &device::get_mouse_flip_horizontal_wheel);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_flip_horizontal_wheel(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_mouse_flip_horizontal_wheel(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_swap_xy(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers, &device::get_mouse_swap_xy);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_swap_xy(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [&](profile& p, const hbd::device_identifiers& identifiers) { p.set_device_mouse_swap_xy(identifiers, value); });
}

bool libhbd_core_configuration_get_selected_profile_device_mouse_swap_wheels(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers, &device::get_mouse_swap_wheels);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_mouse_swap_wheels(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_mouse_swap_wheels(identifiers, value);
                                       });
}

bool libhbd_core_configuration_get_selected_profile_device_game_pad_swap_sticks(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return find_device_flag(p, identifiers,
                                                                        &device::get_game_pad_swap_sticks);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_game_pad_swap_sticks(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, bool value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_game_pad_swap_sticks(identifiers, value);
                                       });
}

bool libhbd_core_configuration_has_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.has_device_game_pad_xy_stick_deadzone(identifiers);
                                              });
}

double libhbd_core_configuration_get_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, double{0.0},
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.get_device_game_pad_xy_stick_deadzone(identifiers);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, double value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_game_pad_xy_stick_deadzone(identifiers, value);
                                       });
}

void libhbd_core_configuration_unset_selected_profile_device_game_pad_xy_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_game_pad_xy_stick_deadzone(identifiers, std::nullopt);
                                       });
}

bool libhbd_core_configuration_has_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, false,
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.has_device_game_pad_wheels_stick_deadzone(identifiers);
                                              });
}

double libhbd_core_configuration_get_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(__func__, core_configuration_handle, device_identifiers, double{0.0},
                                              [](const profile& p, const hbd::device_identifiers& identifiers) {
                                                return p.get_device_game_pad_wheels_stick_deadzone(identifiers);
                                              });
}

void libhbd_core_configuration_set_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, double value) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [&](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_game_pad_wheels_stick_deadzone(identifiers, value);
                                       });
}

void libhbd_core_configuration_unset_selected_profile_device_game_pad_wheels_stick_deadzone(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile_device(__func__, core_configuration_handle, device_identifiers,
                                       [](profile& p, const hbd::device_identifiers& identifiers) {
                                         p.set_device_game_pad_wheels_stick_deadzone(identifiers, std::nullopt);
                                       });
}

bool libhbd_core_configuration_has_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers, false,
      [](const profile& p, const hbd::device_identifiers& identifiers) {
        return p.has_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(identifiers);
      });
}

int32_t
libhbd_core_configuration_get_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  return libhbd::with_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers, int32_t{0},
      [](const profile& p, const hbd::device_identifiers& identifiers) {
        return p.get_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(identifiers);
      });
}

void libhbd_core_configuration_set_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers, int32_t value) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [&](profile& p, const hbd::device_identifiers& identifiers) {
        p.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(identifiers, value);
      });
}

void libhbd_core_configuration_unset_selected_profile_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(
    void* core_configuration_handle, const libhbd_device_identifiers* device_identifiers) {
  libhbd::edit_selected_profile_device(
      __func__, core_configuration_handle, device_identifiers,
      [](profile& p, const hbd::device_identifiers& identifiers) {
        p.set_device_game_pad_stick_stroke_acceleration_transition_duration_milliseconds(identifiers, std::nullopt);
      });
}
