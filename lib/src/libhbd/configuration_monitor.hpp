#pragma once

#include "hbd/configuration_monitor.hpp"
#include "libhbd.h"

#include <memory>

// Hands every new configuration to the application as a handle it owns. Building it waits until
// the first configuration has been handled by the callback.
class libhbd_configuration_monitor final {
public:
  libhbd_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context);
  ~libhbd_configuration_monitor();

  libhbd_configuration_monitor(const libhbd_configuration_monitor&) = delete;
  libhbd_configuration_monitor& operator=(const libhbd_configuration_monitor&) = delete;

private:
  std::unique_ptr<hbd::configuration_monitor> monitor_;
};
