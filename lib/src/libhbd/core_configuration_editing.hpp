#pragma once

#include "core_configuration_handle.hpp"
#include "device_identifiers.hpp"
#include "entry_point.hpp"
#include "hbd/core_configuration/details/complex_modifications_rule.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"

#include <cstddef>
#include <string_view>

namespace libhbd_cpp {

// Rules sit five levels down in the configuration file, which loads only up to
// zunto::json::default_max_depth levels: a deeper rule could be held but never saved.
inline constexpr std::size_t max_rule_depth = zunto::json::default_max_depth - 5;

// Inserts a copy of the rule before the selected profile's first rule; nothing for a null handle.
// Throws std::invalid_argument for a rule deeper than max_rule_depth.
void core_configuration_push_front_selected_profile_complex_modifications_rule(
    void* core_configuration_handle, const hbd::core_configuration::details::complex_modifications_rule& rule);

} // namespace libhbd_cpp

namespace libhbd {

// Runs an editing entry point's body on the handle's configuration; `fallback` for a null handle
// or a throw.
template <typename Result, typename Function>
Result with_core_configuration(std::string_view entry_point, void* handle, Result fallback,
                               Function&& function) noexcept {
  return guard_entry_point(entry_point, fallback, [&]() -> Result {
    auto* configuration = get_core_configuration(handle);
    if (configuration == nullptr) {
      return fallback;
    }
    return function(*configuration);
  });
}

// The same on the configuration's selected profile.
template <typename Result, typename Function>
Result with_selected_profile(std::string_view entry_point, void* handle, Result fallback,
                             Function&& function) noexcept {
  return with_core_configuration(entry_point, handle, fallback, [&](auto& configuration) -> Result {
    return function(configuration.get_selected_profile());
  });
}

// The same for the settings of one device of the selected profile; `fallback` also for null
// identifiers.
template <typename Result, typename Function>
Result with_selected_profile_device(std::string_view entry_point, void* handle,
                                    const libhbd_device_identifiers* device_identifiers, Result fallback,
                                    Function&& function) noexcept {
  return with_selected_profile(entry_point, handle, fallback, [&](auto& profile) -> Result {
    if (device_identifiers == nullptr) {
      return fallback;
    }
    return function(profile, libhbd_cpp::make_device_identifiers(*device_identifiers));
  });
}

// The forms for entry points without a result.
template <typename Function>
void edit_core_configuration(std::string_view entry_point, void* handle, Function&& function) noexcept {
  with_core_configuration(entry_point, handle, false, [&](auto& configuration) {
    function(configuration);
    return true;
  });
}

template <typename Function>
void edit_selected_profile(std::string_view entry_point, void* handle, Function&& function) noexcept {
  with_selected_profile(entry_point, handle, false, [&](auto& profile) {
    function(profile);
    return true;
  });
}

template <typename Function>
void edit_selected_profile_device(std::string_view entry_point, void* handle,
                                  const libhbd_device_identifiers* device_identifiers, Function&& function) noexcept {
  with_selected_profile_device(entry_point, handle, device_identifiers, false,
                               [&](auto& profile, const auto& identifiers) {
                                 function(profile, identifiers);
                                 return true;
                               });
}

} // namespace libhbd
