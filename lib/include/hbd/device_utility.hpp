#pragma once

#include "hbd/core_configuration/core_configuration.hpp"
#include "hbd/device_properties.hpp"

namespace hbd::device_utility {

// Built in by the registry's mark, or treated as built in by the selected profile.
bool determine_is_built_in_keyboard(const core_configuration::core_configuration& configuration,
                                    const device_properties& properties);

} // namespace hbd::device_utility
