#pragma once

#include "hbd/manipulator/manipulators/base.hpp"

namespace hbd::manipulator::manipulators {

// A manipulator of pointer motion alone: it posts to the virtual pointing device, holds no keys or
// buttons down and keeps nothing between events, so the device and event-tap notices are nothing to it.
class pointing_motion_manipulator : public base {
public:
  bool already_manipulated(const event_queue::entry&) override { return false; }
  bool active() const override { return false; }
  bool needs_virtual_hid_pointing() const override { return true; }
  void handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry&,
                                                                  event_queue::queue&) override {}
  void handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t, const event_queue::queue&,
                                     zunto::osx::chrono::absolute_time_point) override {}
  void handle_pointing_device_event_from_event_tap(const event_queue::entry&, event_queue::queue&) override {}

protected:
  pointing_motion_manipulator() = default;
};

} // namespace hbd::manipulator::manipulators
