#pragma once

#include "libhbd.h"
#include "zunto/spdlog/monitor.hpp"

#include <memory>
#include <string>
#include <vector>

// Watches the backend's daemon logs and the user's own backend log and hands each merged list of
// lines to the application's C callback.
class libhbd_log_monitor final {
public:
  libhbd_log_monitor(libhbd_log_monitor_callback callback, void* context);
  ~libhbd_log_monitor();

  libhbd_log_monitor(const libhbd_log_monitor&) = delete;
  libhbd_log_monitor& operator=(const libhbd_log_monitor&) = delete;

  // The files watched, in merge order.
  static std::vector<std::string> log_file_paths();

private:
  std::unique_ptr<zunto::spdlog::monitor> monitor_;
};
