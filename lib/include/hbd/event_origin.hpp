#pragma once

#include <cstdint>

namespace hbd {

// Where an entry's input came from. Only input from the devices the system has taken over
// (grabbed_device) changes what the event queue tracks.
enum class event_origin : std::uint32_t {
  none,
  grabbed_device,
  virtual_device,
  observed_device,
};

} // namespace hbd
