#pragma once

#include "libhbd.h"
#include "zunto/osx/iokit_hid_manager.hpp"
#include "zunto/osx/iokit_hid_queue_value_monitor.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"

#include <atomic>
#include <memory>
#include <unordered_map>

// Hands every input value of the keyboards, mice, pointers, joysticks and game pads to the
// application, one call per value, and tells whether any of them could be opened.
class libhbd_hid_value_monitor final {
public:
  libhbd_hid_value_monitor(libhbd_hid_value_monitor_callback callback, void* context);
  ~libhbd_hid_value_monitor();

  libhbd_hid_value_monitor(const libhbd_hid_value_monitor&) = delete;
  libhbd_hid_value_monitor& operator=(const libhbd_hid_value_monitor&) = delete;

  // Turns true at the first successful open of any device and stays so.
  bool observed() const { return observed_; }

  // Calls back for each value of the batch that has a usage and a range, in order, while `alive`
  // holds. Touches no monitor, so the callback may disable this one; the rest of the batch is
  // then dropped.
  static void values_arrived(libhbd_hid_value_monitor_callback callback, void* context,
                             zunto::osx::iokit_registry_entry_id::value_t registry_entry_id,
                             const std::shared_ptr<zunto::osx::iokit_hid_queue_value_monitor::values_t>& values,
                             const std::atomic<bool>& alive);

private:
  std::unique_ptr<zunto::osx::iokit_hid_manager> hid_manager_;
  // Touched on the dispatcher thread by the HID manager's slots.
  std::unordered_map<zunto::osx::iokit_registry_entry_id::value_t,
                     std::shared_ptr<zunto::osx::iokit_hid_queue_value_monitor>>
      hid_queue_value_monitors_;
  std::atomic<bool> observed_{false};
  // Cleared first when this monitor goes; shared with the slots that deliver values.
  std::shared_ptr<std::atomic<bool>> alive_ = std::make_shared<std::atomic<bool>>(true);
};
