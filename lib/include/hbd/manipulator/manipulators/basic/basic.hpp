#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/manipulators/base.hpp"
#include "hbd/manipulator/manipulators/basic/from_event_definition.hpp"
#include "hbd/manipulator/manipulators/basic/manipulated_original_event/manipulated_original_event.hpp"
#include "hbd/manipulator/manipulators/basic/to_delayed_action.hpp"
#include "hbd/manipulator/manipulators/basic/to_if_held_down.hpp"
#include "hbd/manipulator/to_event_definition.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <variant>
#include <vector>

namespace hbd::manipulator::manipulators::basic {

// A "basic" manipulator: a key, or keys pressed together, replaced by other events.
class basic final : public base, public zunto::dispatcher::extra::dispatcher_client {
public:
  // Reads every key of the manipulator object; throws zunto::json::unmarshal_error and leaves
  // nothing attached behind.
  basic(const nlohmann::json& json, const core_configuration::details::complex_modifications_parameters& parameters);
  ~basic() override;

  basic(const basic&) = delete;
  basic& operator=(const basic&) = delete;

  bool already_manipulated(const event_queue::entry& front_input_entry) override;
  manipulate_result manipulate(event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
                               const std::shared_ptr<event_queue::queue>& output_event_queue,
                               zunto::osx::chrono::absolute_time_point now) override;
  bool active() const override;
  bool needs_virtual_hid_pointing() const override;
  void handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry& front_input_entry,
                                                                  event_queue::queue& output_event_queue) override;
  void handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t device_id,
                                     const event_queue::queue& output_event_queue,
                                     zunto::osx::chrono::absolute_time_point now) override;
  void handle_pointing_device_event_from_event_tap(const event_queue::entry& front_input_entry,
                                                   event_queue::queue& output_event_queue) override;

  const core_configuration::details::complex_modifications_parameters& get_parameters() const { return parameters_; }
  const from_event_definition& get_from() const { return from_; }
  const std::vector<to_event_definition>& get_to() const { return to_; }
  const std::vector<to_event_definition>& get_to_after_key_up() const { return to_after_key_up_; }
  const std::vector<to_event_definition>& get_to_if_alone() const { return to_if_alone_; }
  const std::shared_ptr<to_if_held_down>& get_to_if_held_down() const { return to_if_held_down_; }
  const std::shared_ptr<to_delayed_action>& get_to_delayed_action() const { return to_delayed_action_; }

  // Other input, a key press or wheel movement, means the keys were not pressed alone.
  void unset_alone_if_needed(const event_queue::event& event, event_type type);

  // Every definition of "from" is matched by one of the events.
  bool all_from_events_found(const std::vector<manipulated_original_event::from_event>& from_events) const;

private:
  using manipulated_original_event_ptr = std::shared_ptr<manipulated_original_event::manipulated_original_event>;

  void read(const nlohmann::json& json);
  // A press of the "from" keys: the new manipulated original event, null when not taken, or
  // manipulate_result::wait while the other keys may still come.
  std::variant<manipulated_original_event_ptr, manipulate_result> manipulate_key_down(
      event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
      event_queue::queue& output_event_queue, zunto::osx::chrono::absolute_time_point now);
  void post_key_up_events(const event_queue::entry& front_input_entry,
                          manipulated_original_event::manipulated_original_event& current,
                          zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                          event_queue::queue& output_event_queue);

  core_configuration::details::complex_modifications_parameters parameters_;
  from_event_definition from_;
  std::vector<to_event_definition> to_;
  std::vector<to_event_definition> to_after_key_up_;
  std::vector<to_event_definition> to_if_alone_;
  std::shared_ptr<to_if_held_down> to_if_held_down_;
  std::shared_ptr<to_delayed_action> to_delayed_action_;
  std::vector<manipulated_original_event_ptr> manipulated_original_events_;
};

} // namespace hbd::manipulator::manipulators::basic
