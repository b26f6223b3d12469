#pragma once

#include "hbd/core_configuration/core_configuration.hpp"

#include <memory>

namespace libhbd {

// What a configuration handle points to: one shared reference, owned by whoever received the
// handle and released with libhbd_core_configuration_terminate.
using core_configuration_handle = std::shared_ptr<hbd::core_configuration::core_configuration>;

// A new handle holding its own reference to the configuration.
void* make_core_configuration_handle(std::shared_ptr<hbd::core_configuration::core_configuration> configuration);

// The configuration behind a handle; null for a null handle.
hbd::core_configuration::core_configuration* get_core_configuration(void* handle);

} // namespace libhbd
