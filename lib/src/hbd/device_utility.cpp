#include "hbd/device_utility.hpp"

namespace hbd::device_utility {

bool determine_is_built_in_keyboard(const core_configuration::core_configuration& configuration,
                                    const device_properties& properties) {
  if (properties.get_is_built_in_keyboard().value_or(false)) {
    return true;
  }
  return configuration.get_selected_profile().get_device_treat_as_built_in_keyboard(
      properties.get_device_identifiers());
}

} // namespace hbd::device_utility
