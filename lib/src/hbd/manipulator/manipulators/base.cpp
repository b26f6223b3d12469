#include "hbd/manipulator/manipulators/base.hpp"

namespace hbd::manipulator::manipulators {

bool base::fulfill_conditions(const event_queue::entry& entry, const manipulator_environment& environment) const {
  bool fulfilled = true;
  for (const auto& condition : conditions_) {
    if (!condition->is_fulfilled(entry, environment)) {
      fulfilled = false;
    }
  }
  return fulfilled;
}

} // namespace hbd::manipulator::manipulators
