#pragma once

#include "libhbd.h"
#include "zunto/osx/system_preferences_monitor.hpp"

#include <memory>

// Hands each reading of the system preferences that the monitor signals to the application as a
// plain structure.
class libhbd_system_preferences_monitor final {
public:
  libhbd_system_preferences_monitor(libhbd_system_preferences_monitor_callback callback, void* context);
  ~libhbd_system_preferences_monitor();

  libhbd_system_preferences_monitor(const libhbd_system_preferences_monitor&) = delete;
  libhbd_system_preferences_monitor& operator=(const libhbd_system_preferences_monitor&) = delete;

private:
  std::unique_ptr<zunto::osx::system_preferences_monitor> monitor_;
};
