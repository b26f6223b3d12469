#pragma once

#include "libhbd.h"
#include "zunto/osx/frontmost_application_monitor/monitor.hpp"

#include <memory>

// Hands every frontmost application the monitor reports to the application's C callback.
class libhbd_frontmost_application_monitor final {
public:
  libhbd_frontmost_application_monitor(libhbd_frontmost_application_monitor_callback callback, void* context);
  ~libhbd_frontmost_application_monitor();

  libhbd_frontmost_application_monitor(const libhbd_frontmost_application_monitor&) = delete;
  libhbd_frontmost_application_monitor& operator=(const libhbd_frontmost_application_monitor&) = delete;

private:
  std::unique_ptr<zunto::osx::frontmost_application_monitor::monitor> monitor_;
};
