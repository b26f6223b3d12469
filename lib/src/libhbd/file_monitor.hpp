#pragma once

#include "libhbd.h"
#include "zunto/osx/file_monitor.hpp"

#include <memory>
#include <string>

// Watches one backend state file for the C interface and hands the application the path whenever
// the file monitor reports it.
class libhbd_file_monitor final {
public:
  libhbd_file_monitor(const std::string& path, libhbd_file_monitor_callback callback, void* context);
  ~libhbd_file_monitor();

  libhbd_file_monitor(const libhbd_file_monitor&) = delete;
  libhbd_file_monitor& operator=(const libhbd_file_monitor&) = delete;

private:
  std::unique_ptr<zunto::osx::file_monitor> file_monitor_;
};
