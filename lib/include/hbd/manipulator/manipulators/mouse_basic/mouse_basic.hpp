#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/manipulators/base.hpp"

#include <nlohmann/json_fwd.hpp>

namespace hbd::manipulator::manipulators::mouse_basic {

// Flips and swaps the axes and wheels of relative pointer motion.
class mouse_basic final : public base {
public:
  // The parameters are not used. Throws zunto::json::unmarshal_error.
  mouse_basic(const nlohmann::json& json,
              const core_configuration::details::complex_modifications_parameters& parameters);

  bool already_manipulated(const event_queue::entry&) override { return false; }
  manipulate_result manipulate(event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
                               const std::shared_ptr<event_queue::queue>& output_event_queue,
                               zunto::osx::chrono::absolute_time_point now) override;
  bool active() const override { return false; }
  bool needs_virtual_hid_pointing() const override { return true; }
  void handle_device_keys_and_pointing_buttons_are_released_event(const event_queue::entry&,
                                                                  event_queue::queue&) override {}
  void handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t, const event_queue::queue&,
                                     zunto::osx::chrono::absolute_time_point) override {}
  void handle_pointing_device_event_from_event_tap(const event_queue::entry&, event_queue::queue&) override {}

  // Swaps first, then flips by output position.
  pointing_motion make_motion(const pointing_motion& motion) const;

private:
  bool flip_x_ = false;
  bool flip_y_ = false;
  bool flip_vertical_wheel_ = false;
  bool flip_horizontal_wheel_ = false;
  bool swap_xy_ = false;
  bool swap_wheels_ = false;
};

} // namespace hbd::manipulator::manipulators::mouse_basic
