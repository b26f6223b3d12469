#pragma once

#include "services/GrellanKit_.hpp"
#include "services/Hobbard.hpp"
#include "services/Updater.hpp"

#include <iosfwd>

namespace grellan_test {

// The long-lived objects the windows are built on, made in the order the application makes them, without
// the application's windows, menus and tray icon.
struct AppServices {
  explicit AppServices(std::ostream& output) : hobbard(output) {}

  grellan::GrellanKit_ kit;
  grellan::Hobbard hobbard;
  grellan::Updater updater;
};

} // namespace grellan_test
