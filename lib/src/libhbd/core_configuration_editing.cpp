#include "core_configuration_editing.hpp"

#include "libhbd.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>

namespace {

using hbd::core_configuration::core_configuration;
using hbd::core_configuration::details::global_configuration;
using hbd::core_configuration::details::profile;

bool get_global_flag(std::string_view entry_point, void* handle, bool (global_configuration::*getter)() const) {
  return libhbd::with_core_configuration(entry_point, handle, false, [&](const core_configuration& configuration) {
    return (configuration.get_global_configuration().*getter)();
  });
}

void set_global_flag(std::string_view entry_point, void* handle, void (global_configuration::*setter)(bool),
                     bool value) {
  libhbd::edit_core_configuration(entry_point, handle, [&](core_configuration& configuration) {
    (configuration.get_global_configuration().*setter)(value);
  });
}

// The profile at the index; null when out of range.
profile* find_profile(core_configuration& configuration, std::size_t index) {
  auto profiles = configuration.get_profiles();
  return index < profiles.size() ? &profiles[index] : nullptr;
}

template <typename Integer, typename Value>
Integer clamp_to(Value value) {
  return static_cast<Integer>(
      std::clamp<Value>(value, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()));
}

} // namespace

// Global configuration

bool libhbd_core_configuration_get_global_configuration_check_for_updates_on_startup(void* core_configuration_handle) {
  return get_global_flag(__func__, core_configuration_handle, &global_configuration::get_check_for_updates_on_startup);
}

void libhbd_core_configuration_set_global_configuration_check_for_updates_on_startup(void* core_configuration_handle,
                                                                                     bool value) {
  set_global_flag(__func__, core_configuration_handle, &global_configuration::set_check_for_updates_on_startup, value);
}

bool libhbd_core_configuration_get_global_configuration_show_in_menu_bar(void* core_configuration_handle) {
  return get_global_flag(__func__, core_configuration_handle, &global_configuration::get_show_in_menu_bar);
}

void libhbd_core_configuration_set_global_configuration_show_in_menu_bar(void* core_configuration_handle, bool value) {
  set_global_flag(__func__, core_configuration_handle, &global_configuration::set_show_in_menu_bar, value);
}

bool libhbd_core_configuration_get_global_configuration_show_profile_name_in_menu_bar(void* core_configuration_handle) {
  return get_global_flag(__func__, core_configuration_handle, &global_configuration::get_show_profile_name_in_menu_bar);
}

void libhbd_core_configuration_set_global_configuration_show_profile_name_in_menu_bar(void* core_configuration_handle,
                                                                                      bool value) {
  set_global_flag(__func__, core_configuration_handle, &global_configuration::set_show_profile_name_in_menu_bar, value);
}

bool libhbd_core_configuration_get_global_configuration_ask_for_confirmation_before_quitting(
    void* core_configuration_handle) {
  return get_global_flag(__func__, core_configuration_handle,
                         &global_configuration::get_ask_for_confirmation_before_quitting);
}

void libhbd_core_configuration_set_global_configuration_ask_for_confirmation_before_quitting(
    void* core_configuration_handle, bool value) {
  set_global_flag(__func__, core_configuration_handle, &global_configuration::set_ask_for_confirmation_before_quitting,
                  value);
}

bool libhbd_core_configuration_get_global_configuration_unsafe_ui(void* core_configuration_handle) {
  return get_global_flag(__func__, core_configuration_handle, &global_configuration::get_unsafe_ui);
}

void libhbd_core_configuration_set_global_configuration_unsafe_ui(void* core_configuration_handle, bool value) {
  set_global_flag(__func__, core_configuration_handle, &global_configuration::set_unsafe_ui, value);
}

// Profiles

size_t libhbd_core_configuration_get_profiles_size(void* core_configuration_handle) {
  return libhbd::with_core_configuration(
      __func__, core_configuration_handle, std::size_t{0},
      [](const core_configuration& configuration) { return configuration.get_profiles().size(); });
}

const char* libhbd_core_configuration_get_profile_name(void* core_configuration_handle, size_t index) {
  return libhbd::with_core_configuration(__func__, core_configuration_handle, static_cast<const char*>(nullptr),
                                         [&](core_configuration& configuration) -> const char* {
                                           const auto* found = find_profile(configuration, index);
                                           return found != nullptr ? found->get_name().c_str() : nullptr;
                                         });
}

void libhbd_core_configuration_set_profile_name(void* core_configuration_handle, size_t index, const char* value) {
  libhbd::edit_core_configuration(__func__, core_configuration_handle, [&](core_configuration& configuration) {
    if (auto* found = find_profile(configuration, index); found != nullptr && value != nullptr) {
      found->set_name(value);
    }
  });
}

bool libhbd_core_configuration_get_profile_selected(void* core_configuration_handle, size_t index) {
  return libhbd::with_core_configuration(__func__, core_configuration_handle, false,
                                         [&](core_configuration& configuration) {
                                           const auto* found = find_profile(configuration, index);
                                           return found != nullptr && found->get_selected();
                                         });
}

void libhbd_core_configuration_select_profile(void* core_configuration_handle, size_t index) {
  libhbd::edit_core_configuration(__func__, core_configuration_handle,
                                  [&](core_configuration& configuration) { configuration.select_profile(index); });
}

const char* libhbd_core_configuration_get_selected_profile_name(void* core_configuration_handle) {
  return libhbd::with_selected_profile(__func__, core_configuration_handle, static_cast<const char*>(nullptr),
                                       [](const profile& selected) { return selected.get_name().c_str(); });
}

void libhbd_core_configuration_push_back_profile(void* core_configuration_handle) {
  libhbd::edit_core_configuration(__func__, core_configuration_handle,
                                  [](core_configuration& configuration) { configuration.push_back_profile(); });
}

void libhbd_core_configuration_erase_profile(void* core_configuration_handle, size_t index) {
  libhbd::edit_core_configuration(__func__, core_configuration_handle,
                                  [&](core_configuration& configuration) { configuration.erase_profile(index); });
}

// Parameters

int32_t libhbd_core_configuration_get_selected_profile_parameters_delay_milliseconds_before_open_device(
    void* core_configuration_handle) {
  return libhbd::with_selected_profile(
      __func__, core_configuration_handle, std::int32_t{0}, [](const profile& selected) {
        return clamp_to<std::int32_t>(selected.get_parameters().get_delay_milliseconds_before_open_device().count());
      });
}

void libhbd_core_configuration_set_selected_profile_parameters_delay_milliseconds_before_open_device(
    void* core_configuration_handle, int32_t value) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    selected.get_parameters().set_delay_milliseconds_before_open_device(std::chrono::milliseconds(value));
  });
}

// Virtual keyboard

uint8_t libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_country_code(
    void* core_configuration_handle) {
  return libhbd::with_selected_profile(
      __func__, core_configuration_handle, std::uint8_t{0}, [](const profile& selected) {
        return clamp_to<std::uint8_t>(
            static_cast<std::uint64_t>(selected.get_virtual_hid_keyboard().get_country_code()));
      });
}

void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_country_code(void* core_configuration_handle,
                                                                                      uint8_t value) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    selected.get_virtual_hid_keyboard().set_country_code(zunto::hid::country_code::value_t{value});
  });
}

int32_t libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(
    void* core_configuration_handle) {
  return libhbd::with_selected_profile(
      __func__, core_configuration_handle, std::int32_t{0},
      [](const profile& selected) { return selected.get_virtual_hid_keyboard().get_mouse_key_xy_scale(); });
}

void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_mouse_key_xy_scale(
    void* core_configuration_handle, int32_t value) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    selected.get_virtual_hid_keyboard().set_mouse_key_xy_scale(std::max(value, std::int32_t{0}));
  });
}

bool libhbd_core_configuration_get_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(
    void* core_configuration_handle) {
  return libhbd::with_selected_profile(__func__, core_configuration_handle, true, [](const profile& selected) {
    return selected.get_virtual_hid_keyboard().get_indicate_sticky_modifier_keys_state();
  });
}

void libhbd_core_configuration_set_selected_profile_virtual_hid_keyboard_indicate_sticky_modifier_keys_state(
    void* core_configuration_handle, bool value) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    selected.get_virtual_hid_keyboard().set_indicate_sticky_modifier_keys_state(value);
  });
}
