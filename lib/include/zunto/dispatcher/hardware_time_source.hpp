#pragma once

#include "zunto/dispatcher/time_source.hpp"

namespace zunto::dispatcher {

// The system clock, truncated to milliseconds.
class hardware_time_source final : public time_source {
public:
  time_point now() const override;
};

} // namespace zunto::dispatcher
