#include "hbd/manipulator/manipulators/basic/basic.hpp"

#include "hbd/json_reading.hpp"
#include "hbd/manipulator/manipulators/basic/event_sender.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/osx/chrono/conversion.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>

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
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& value = key_item.value();
    if (key == "from") {
      from_ = json_reading::read_wrapped<from_event_definition>(key, value);
    } else if (key == "to" || key == "to_if_alone" || key == "to_after_key_up") {
      (key == "to"            ? to_
       : key == "to_if_alone" ? to_if_alone_
                              : to_after_key_up_) = make_to_event_definitions(key, value);
    } else if (key == "to_if_held_down") {
      to_if_held_down_ = json_reading::wrap_error(key, [&] { return std::make_shared<to_if_held_down>(value); });
    } else if (key == "to_delayed_action") {
      to_delayed_action_ = json_reading::wrap_error(key, [&] { return std::make_shared<to_delayed_action>(value); });
    } else if (key != "conditions" && key != "parameters" && key != "type" && key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

bool basic::already_manipulated(const event_queue::entry& front_input_entry) {
  if (front_input_entry.get_event_type() != event_type::key_down) {
    return false;
  }
  const manipulated_original_event::from_event from_event(
      front_input_entry.get_device_id(), front_input_entry.get_event(), front_input_entry.get_original_event());
  return std::ranges::any_of(manipulated_original_events_,
                             [&](const auto& current) { return current->from_event_exists(from_event); });
}

void basic::unset_alone_if_needed(const event_queue::event& event, event_type type) {
  bool other_input = false;
  if (event.get_momentary_switch_event()) {
    other_input = type == event_type::key_down;
  } else if (const auto motion = event.get_pointing_motion()) {
    other_input = motion->vertical_wheel != 0 || motion->horizontal_wheel != 0;
  }
  if (other_input) {
    for (const auto& current : manipulated_original_events_) {
      current->unset_alone();
    }
  }
}

bool basic::all_from_events_found(const std::vector<manipulated_original_event::from_event>& from_events) const {
  return std::ranges::all_of(from_.get_event_definitions(), [&](const auto& definition) {
    return std::ranges::any_of(from_events, [&](const auto& from_event) {
      return from_event_definition::test_event(from_event.get_event(), definition);
    });
  });
}

manipulate_result basic::manipulate(event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
                                    const std::shared_ptr<event_queue::queue>& output_event_queue,
                                    zunto::osx::chrono::absolute_time_point now) {
  if (!output_event_queue) {
    return manipulate_result::passed;
  }
  const auto type = front_input_entry.get_event_type();
  unset_alone_if_needed(front_input_entry.get_event(), type);

  // Any press that reaches this manipulator ends a pending hold or delay.
  if (type == event_type::key_down) {
    if (to_if_held_down_) {
      to_if_held_down_->cancel();
    }
    if (to_delayed_action_) {
      to_delayed_action_->cancel();
    }
  }

  if (!front_input_entry.get_valid()) {
    return manipulate_result::passed;
  }
  const auto& definitions = from_.get_event_definitions();
  if (std::ranges::none_of(definitions, [&](const auto& definition) {
        return from_event_definition::test_event(front_input_entry.get_event(), definition);
      })) {
    return manipulate_result::passed;
  }
  const manipulated_original_event::from_event front_from_event(
      front_input_entry.get_device_id(), front_input_entry.get_event(), front_input_entry.get_original_event());

  manipulated_original_event_ptr current;
  if (type == event_type::key_down) {
    auto decided = manipulate_key_down(front_input_entry, input_event_queue, *output_event_queue, now);
    if (const auto* result = std::get_if<manipulate_result>(&decided)) {
      return *result;
    }
    current = std::get<manipulated_original_event_ptr>(decided);
    if (!current) {
      return manipulate_result::passed;
    }
    manipulated_original_events_.push_back(current);
  } else if (type == event_type::key_up) {
    const auto it = std::ranges::find_if(manipulated_original_events_, [&](const auto& candidate) {
      return candidate->from_event_exists(front_from_event);
    });
    if (it == manipulated_original_events_.end()) {
      return manipulate_result::passed;
    }
    current = *it;
    current->erase_from_event(front_from_event);
    if (current->get_from_events().empty()) {
      manipulated_original_events_.erase(it);
    }
  } else {
    return manipulate_result::passed;
  }

  front_input_entry.set_validity(validity::invalid);
  zunto::osx::chrono::absolute_time_duration delay;
  auto& output = *output_event_queue;

  if (type == event_type::key_down) {
    event_sender::post_from_mandatory_modifiers_key_up(front_input_entry, *current, delay, output);
    event_sender::post_events_at_key_down(front_input_entry, *current, to_, delay, output);
    const auto* last = to_.empty() ? nullptr : to_.back().get_event_definition().find<momentary_switch_event>();
    if (last == nullptr || !last->make_modifier_flag()) {
      event_sender::post_from_mandatory_modifiers_key_down(front_input_entry, *current, delay, output);
    }
  } else if (from_.get_simultaneous_options().get_key_up_when() == simultaneous_options::key_up_when::any ||
             current->get_from_events().empty()) {
    post_key_up_events(front_input_entry, *current, delay, output);
  }

  if (to_if_held_down_) {
    to_if_held_down_->setup(front_input_entry, current, output_event_queue,
                            std::chrono::milliseconds(parameters_.get_basic_to_if_held_down_threshold_milliseconds()));
  }
  if (to_delayed_action_) {
    to_delayed_action_->setup(front_input_entry, current, output_event_queue,
                              std::chrono::milliseconds(parameters_.get_basic_to_delayed_action_delay_milliseconds()));
  }

  if (delay > zunto::osx::chrono::absolute_time_duration(0)) {
    output.increase_time_stamp_delay(delay - zunto::osx::chrono::absolute_time_duration(1));
  }
  return manipulate_result::manipulated;
}

std::variant<basic::manipulated_original_event_ptr, manipulate_result> basic::manipulate_key_down(
    event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
    event_queue::queue& output_event_queue, zunto::osx::chrono::absolute_time_point now) {
  if (get_validity() == validity::invalid) {
    return manipulated_original_event_ptr();
  }

  const auto modifiers =
      from_.get_from_modifiers_definition().test_modifiers(output_event_queue.get_modifier_flag_manager());
  bool ok = modifiers != nullptr;
  if (ok && !fulfill_conditions(front_input_entry, output_event_queue.get_manipulator_environment())) {
    ok = false;
  }

  const auto& definitions = from_.get_event_definitions();
  const auto& options = from_.get_simultaneous_options();
  const auto threshold = zunto::osx::chrono::make_absolute_time_duration(
      std::chrono::milliseconds(parameters_.get_basic_simultaneous_threshold_milliseconds()));
  const auto end_time = front_input_entry.get_event_time_stamp().get_time_stamp() + threshold;

  std::vector<manipulated_original_event::from_event> found;
  std::vector<event_queue::event> key_down_events;
  std::vector<event_queue::event> key_up_events;
  const auto found_event = [&](const event_queue::event& e) {
    return std::ranges::any_of(found, [&](const auto& from_event) { return from_event.get_event() == e; });
  };

  for (const auto& entry : input_event_queue.get_entries()) {
    if (!ok) {
      break;
    }
    if (!entry.get_valid()) {
      continue;
    }
    if (entry.get_event_time_stamp().get_time_stamp() > end_time) {
      break;
    }
    const manipulated_original_event::from_event from_event(entry.get_device_id(), entry.get_event(),
                                                            entry.get_original_event());
    if (entry.get_event_type() == event_type::key_down) {
      const bool matches = std::ranges::any_of(definitions, [&](const auto& definition) {
        return from_event_definition::test_event(entry.get_event(), definition);
      });
      if (matches) {
        if (!found_event(entry.get_event())) {
          found.push_back(from_event);
          key_down_events.push_back(entry.get_event());
        }
      } else if (!options.get_detect_key_down_uninterruptedly()) {
        ok = ok && all_from_events_found(found);
      }
    } else if (entry.get_event_type() == event_type::key_up && std::ranges::find(found, from_event) != found.end()) {
      ok = ok && all_from_events_found(found);
      if (ok && std::ranges::find(key_up_events, entry.get_event()) == key_up_events.end()) {
        key_up_events.push_back(entry.get_event());
      }
    }
  }

  if (found.empty()) {
    ok = false;
  }
  bool key_ups_missing = false;
  if (ok) {
    ok = from_event_definition::test_key_order(key_down_events, options.get_key_down_order(), definitions);
  }
  if (ok && options.get_key_up_order() != simultaneous_options::key_order::insensitive) {
    if (!from_event_definition::test_key_order(key_up_events, options.get_key_up_order(), definitions)) {
      ok = false;
    } else {
      key_ups_missing = key_up_events.size() + 1 < definitions.size();
    }
  }

  if (ok && (key_ups_missing || !all_from_events_found(found))) {
    auto& time_stamp = front_input_entry.get_event_time_stamp();
    if (time_stamp.get_input_delay() < threshold) {
      time_stamp.set_input_delay(threshold);
    }
    if (now < time_stamp.make_time_stamp_with_input_delay()) {
      output_event_queue.emplace_back_entry(
          front_input_entry.get_device_id(), event_queue::event_time_stamp(time_stamp.get_time_stamp()),
          event_queue::event::make_wait_marker_event(), event_type::single, front_input_entry.get_original_event(),
          front_input_entry.get_event_origin(), event_queue::state::wait_marker, true);
      return manipulate_result::wait;
    }
    ok = all_from_events_found(found);
  }

  if (!ok) {
    return manipulated_original_event_ptr();
  }
  return std::make_shared<manipulated_original_event::manipulated_original_event>(
      std::move(found), *modifiers, front_input_entry.get_event_time_stamp().get_time_stamp());
}

void basic::post_key_up_events(const event_queue::entry& front_input_entry,
                               manipulated_original_event::manipulated_original_event& current,
                               zunto::osx::chrono::absolute_time_duration& delay, event_queue::queue& output) {
  const auto post_around = [&](const std::vector<to_event_definition>& to_events) {
    event_sender::post_from_mandatory_modifiers_key_up(front_input_entry, current, delay, output);
    event_sender::post_extra_to_events(front_input_entry, current, to_events, delay, output);
    event_sender::post_from_mandatory_modifiers_key_down(front_input_entry, current, delay, output);
  };

  if (!current.get_key_up_posted()) {
    current.set_key_up_posted();
    event_sender::post_events_at_key_up(front_input_entry, current, delay, output);
    event_sender::post_from_mandatory_modifiers_key_down(front_input_entry, current, delay, output);

    if (!to_if_alone_.empty() && current.get_alone()) {
      const auto held = front_input_entry.get_event_time_stamp().get_time_stamp() - current.get_key_down_time_stamp();
      const auto milliseconds = zunto::osx::chrono::make_nanoseconds(held).count() / 1'000'000;
      if (milliseconds < parameters_.get_basic_to_if_alone_timeout_milliseconds()) {
        post_around(to_if_alone_);
      }
    }
    if (!to_after_key_up_.empty()) {
      post_around(to_after_key_up_);
    }
  }
  const auto& simultaneous_after_key_up = from_.get_simultaneous_options().get_to_after_key_up();
  if (!simultaneous_after_key_up.empty() && current.get_from_events().empty()) {
    post_around(simultaneous_after_key_up);
  }
}

bool basic::active() const { return !manipulated_original_events_.empty(); }

bool basic::needs_virtual_hid_pointing() const {
  return needs_pointing(to_) || needs_pointing(to_after_key_up_) || needs_pointing(to_if_alone_) ||
         (to_if_held_down_ && needs_pointing(to_if_held_down_->get_to())) ||
         (to_delayed_action_ && (needs_pointing(to_delayed_action_->get_to_if_invoked()) ||
                                 needs_pointing(to_delayed_action_->get_to_if_canceled())));
}

void basic::handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry&, event_queue::queue&) {
}

void basic::handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                          const event_queue::queue&, zunto::osx::chrono::absolute_time_point) {
  for (const auto& current : manipulated_original_events_) {
    current->erase_from_events_by_device_id(device_id);
  }
  std::erase_if(manipulated_original_events_, [](const auto& current) { return current->get_from_events().empty(); });
}

void basic::handle_pointing_device_event_from_event_tap(const event_queue::entry& front_input_entry,
                                                        event_queue::queue&) {
  unset_alone_if_needed(front_input_entry.get_original_event(), front_input_entry.get_event_type());
}

} // namespace hbd::manipulator::manipulators::basic
