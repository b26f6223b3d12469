#pragma once

#include "hbd/event_queue/entry.hpp"
#include "hbd/manipulator/manipulator_environment.hpp"

namespace hbd::manipulator::conditions {

// A condition of a manipulator, tested against the front entry and the environment.
class base {
public:
  virtual ~base() = default;

  virtual bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const = 0;
};

} // namespace hbd::manipulator::conditions
