#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/from_modifiers_definition.hpp"
#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/counter.hpp"
#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/options.hpp"
#include "hbd/manipulator/manipulators/pointing_motion_manipulator.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>
#include <set>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

// Turns pointer motion into scrolling while its modifiers are held and its conditions hold.
class mouse_motion_to_scroll final : public pointing_motion_manipulator,
                                     public zunto::dispatcher::extra::dispatcher_client {
public:
  // Throws zunto::json::unmarshal_error and leaves nothing attached behind.
  mouse_motion_to_scroll(const nlohmann::json& json,
                         const core_configuration::details::complex_modifications_parameters& parameters);
  ~mouse_motion_to_scroll() override;

  manipulate_result manipulate(event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
                               const std::shared_ptr<event_queue::queue>& output_event_queue,
                               zunto::osx::chrono::absolute_time_point now) override;

  // The held mandatory modifiers, or null when the conditions or modifiers do not hold.
  std::shared_ptr<std::set<modifier_flag>> test_conditions(
      const event_queue::entry& entry, const std::shared_ptr<event_queue::queue>& output_event_queue) const;

  // Posts one wheel step, between key-ups and key-downs of the held modifiers.
  void post_events(const pointing_motion& motion);

  const options& get_options() const { return options_; }

private:
  from_modifiers_definition from_modifiers_definition_;
  options options_;
  std::unique_ptr<counter> counter_;
  std::shared_ptr<std::set<modifier_flag>> from_mandatory_modifiers_;
  zunto::osx::iokit_registry_entry_id::value_t device_id_{0};
  event_queue::event original_event_;
  std::weak_ptr<event_queue::queue> output_event_queue_;
};

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
