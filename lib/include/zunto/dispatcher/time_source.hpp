#pragma once

#include "zunto/dispatcher/time_point.hpp"

namespace zunto::dispatcher {

// The clock a dispatcher reads its due times from. Always owned through a shared pointer of its
// concrete type, so the destructor is not virtual; it is protected to keep it that way.
class time_source {
public:
  virtual time_point now() const = 0;

protected:
  time_source() = default;
  ~time_source() = default;
  time_source(const time_source&) = default;
  time_source& operator=(const time_source&) = default;
};

} // namespace zunto::dispatcher
