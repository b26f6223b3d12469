#pragma once

#include "zunto/osx/file_monitor.hpp"

namespace zunto::osx {

// The living monitors of the process. A stream callback that arrives while its monitor is being
// destroyed finds it gone here and does nothing.
class file_monitor::impl::file_monitors_manager final {
public:
  file_monitors_manager() = delete;

  static void insert(const file_monitor* monitor);
  static void erase(const file_monitor* monitor);
  static bool alive(const void* monitor);
};

} // namespace zunto::osx
