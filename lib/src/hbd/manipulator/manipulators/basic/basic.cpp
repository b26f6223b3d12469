#include "hbd/manipulator/manipulators/basic/basic.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::basic {

namespace {

bool needs_pointing(const std::vector<to_event_definition>& list) {
  for (const auto& to : list) {
    const auto& definition = to.get_event_definition();
    if (definition.get_type() == event_definition::type::mouse_key) {
      return true;
    }
    if (const auto* key = definition.find<momentary_switch_event>();
        key != nullptr && key->get_usage_pair().get_usage_page() == zunto::hid::usage_page::button) {
      return true;
    }
  }
  return false;
}

} // namespace

basic::basic(const nlohmann::json& json,
             const core_configuration::details::complex_modifications_parameters& parameters)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()),
      parameters_(parameters) {
  try {
    read(json);
  } catch (...) {
    // A client may only go once detached, and the exception destroys this one.
    detach_from_dispatcher();
    throw;
  }
}

basic::~basic() { detach_from_dispatcher(); }

void basic::read(const nlohmann::json& json) {
  zunto::json::requires_object(json, "json");
  for (const auto& [key, value] : json.items()) {
    if (key == "from") {
      from_ = json_reading::read_wrapped<from_event_definition>(key, value);
    } else if (key == "to" || key == "to_if_alone" || key == "to_after_key_up") {
      (key == "to" ? to_ : key == "to_if_alone" ? to_if_alone_ : to_after_key_up_) =
          make_to_event_definitions(key, value);
    } else if (key == "to_if_held_down") {
      to_if_held_down_ = json_reading::wrap_error(key, [&] { return std::make_shared<to_if_held_down>(value); });
    } else if (key == "to_delayed_action") {
      to_delayed_action_ = json_reading::wrap_error(key, [&] { return std::make_shared<to_delayed_action>(value); });
    } else if (key != "conditions" && key != "parameters" && key != "type" && key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

bool basic::already_manipulated(const event_queue::entry&) { return false; }

manipulate_result basic::manipulate(event_queue::entry&,
                                    const event_queue::queue&,
                                    const std::shared_ptr<event_queue::queue>&,
                                    zunto::osx::chrono::absolute_time_point) {
  return manipulate_result::passed;
}

bool basic::active() const { return false; }

bool basic::needs_virtual_hid_pointing() const {
  return needs_pointing(to_) || needs_pointing(to_after_key_up_) || needs_pointing(to_if_alone_) ||
         (to_if_held_down_ && needs_pointing(to_if_held_down_->get_to())) ||
         (to_delayed_action_ && (needs_pointing(to_delayed_action_->get_to_if_invoked()) ||
                                 needs_pointing(to_delayed_action_->get_to_if_canceled())));
}

void basic::handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry&,
                                                                       event_queue::queue&) {}

void basic::handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t,
                                          const event_queue::queue&,
                                          zunto::osx::chrono::absolute_time_point) {}

void basic::handle_pointing_device_event_from_event_tap(const event_queue::entry&, event_queue::queue&) {}

} // namespace hbd::manipulator::manipulators::basic
