#pragma once

#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"
#include "hbd/manipulator/manipulators/pointing_motion_manipulator.hpp"

#include <nlohmann/json_fwd.hpp>

namespace hbd::manipulator::manipulators::mouse_basic {

// Flips and swaps the axes and wheels of relative pointer motion.
class mouse_basic final : public pointing_motion_manipulator {
public:
  // The parameters are not used. Throws zunto::json::unmarshal_error.
  mouse_basic(const nlohmann::json& json,
              const core_configuration::details::complex_modifications_parameters& parameters);

  manipulate_result manipulate(event_queue::entry& front_input_entry, const event_queue::queue& input_event_queue,
                               const std::shared_ptr<event_queue::queue>& output_event_queue,
                               zunto::osx::chrono::absolute_time_point now) override;

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
