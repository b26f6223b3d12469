#pragma once

#include <cstdint>

namespace hbd::event_queue {

// Carried by entries, without meaning to the queue. wait_marker belongs to the basic
// manipulator's value-less wait entries.
enum class state : std::uint32_t {
  original,
  manipulated,
  wait_marker,
};

} // namespace hbd::event_queue
