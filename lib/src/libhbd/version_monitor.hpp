#pragma once

#include "hbd/version_monitor.hpp"
#include "libhbd.h"

#include <memory>

// Tells the application that the backend's version file changed.
class libhbd_version_monitor final {
public:
  libhbd_version_monitor(libhbd_version_monitor_callback callback, void* context);
  ~libhbd_version_monitor();

  libhbd_version_monitor(const libhbd_version_monitor&) = delete;
  libhbd_version_monitor& operator=(const libhbd_version_monitor&) = delete;

private:
  std::unique_ptr<hbd::version_monitor> monitor_;
};
