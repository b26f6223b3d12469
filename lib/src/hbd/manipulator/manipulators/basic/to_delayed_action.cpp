#include "hbd/manipulator/manipulators/basic/to_delayed_action.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::basic {

to_delayed_action::to_delayed_action(const nlohmann::json& json)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {
  try {
    zunto::json::requires_object(json, "json");
    for (const auto& [key, member] : json.items()) {
      if (key == "to_if_invoked") {
        to_if_invoked_ = make_to_event_definitions(key, member);
      } else if (key == "to_if_canceled") {
        to_if_canceled_ = make_to_event_definitions(key, member);
      } else {
        json_reading::throw_unknown_key_in(key, json);
      }
    }
  } catch (...) {
    detach_from_dispatcher();
    throw;
  }
}

to_delayed_action::~to_delayed_action() { detach_from_dispatcher(); }

} // namespace hbd::manipulator::manipulators::basic
