#include "hbd/manipulator/manipulators/basic/manipulated_original_event/manipulated_original_event.hpp"

#include <algorithm>

namespace hbd::manipulator::manipulators::basic::manipulated_original_event {

bool manipulated_original_event::from_event_exists(const from_event& value) const {
  return std::ranges::find(from_events_, value) != from_events_.end();
}

void manipulated_original_event::erase_from_event(const from_event& value) { std::erase(from_events_, value); }

void manipulated_original_event::erase_from_events_by_device_id(
    zunto::osx::iokit_registry_entry_id::value_t device_id) {
  std::erase_if(from_events_, [&](const auto& e) { return e.get_device_id() == device_id; });
}

} // namespace hbd::manipulator::manipulators::basic::manipulated_original_event
