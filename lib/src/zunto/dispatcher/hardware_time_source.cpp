#include "zunto/dispatcher/hardware_time_source.hpp"

namespace zunto::dispatcher {

time_point hardware_time_source::now() const {
  return std::chrono::duration_cast<time_point>(std::chrono::system_clock::now().time_since_epoch());
}

} // namespace zunto::dispatcher
