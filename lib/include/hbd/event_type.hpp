#pragma once

#include <cstdint>

namespace hbd {

// The phase of a queued event; single is an event without a press and release.
enum class event_type : std::uint32_t {
  key_down,
  key_up,
  single,
};

} // namespace hbd
