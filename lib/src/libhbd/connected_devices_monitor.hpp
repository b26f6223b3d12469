#pragma once

#include "hbd/connected_devices_monitor.hpp"
#include "libhbd.h"

#include <memory>

// Hands every device list the monitor publishes to the application as a heap copy it owns.
class libhbd_connected_devices_monitor final {
public:
  libhbd_connected_devices_monitor(libhbd_connected_devices_monitor_callback callback, void* context);
  ~libhbd_connected_devices_monitor();

  libhbd_connected_devices_monitor(const libhbd_connected_devices_monitor&) = delete;
  libhbd_connected_devices_monitor& operator=(const libhbd_connected_devices_monitor&) = delete;

private:
  std::unique_ptr<hbd::connected_devices_monitor> monitor_;
};
