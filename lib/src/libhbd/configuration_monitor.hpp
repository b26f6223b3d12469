#pragma once

#include "hbd/configuration_monitor.hpp"
#include "libhbd.h"
#include "zunto/thread_wait.hpp"

#include <memory>
#include <string>

// Hands every new configuration to the application as a handle it owns. Built idle; the enable
// call starts it once it is in its slot and waits until the first configuration has been handled.
class libhbd_configuration_monitor final {
public:
  libhbd_configuration_monitor(libhbd_configuration_monitor_callback callback, void* context);
  ~libhbd_configuration_monitor();

  libhbd_configuration_monitor(const libhbd_configuration_monitor&) = delete;
  libhbd_configuration_monitor& operator=(const libhbd_configuration_monitor&) = delete;

  // Notified once the callback has handled the first configuration, or once the monitor goes
  // without having announced one, so that nobody waits for it forever.
  std::shared_ptr<zunto::thread_wait> get_first_configuration_handled() const;

  void async_start();

  // This process just saved `saved_text` to the user configuration file.
  void async_note_saved(std::string saved_text);

private:
  std::shared_ptr<zunto::thread_wait> first_configuration_handled_;
  std::unique_ptr<hbd::configuration_monitor> monitor_;
};
