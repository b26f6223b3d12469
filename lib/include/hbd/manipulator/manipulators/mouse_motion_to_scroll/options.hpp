#pragma once

#include <nlohmann/json_fwd.hpp>

#include <chrono>
#include <cstdint>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

// How pointer motion turns into scrolling.
class options final {
public:
  // Reads an "options" object; out-of-range values take their defaults and unknown keys are
  // ignored. Throws zunto::json::unmarshal_error.
  void update(const nlohmann::json& json);

  bool get_momentum_scroll_enabled() const { return momentum_scroll_enabled_; }
  double get_speed_multiplier() const { return speed_multiplier_; }
  std::chrono::milliseconds get_recent_time_duration_milliseconds() const { return recent_time_duration_milliseconds_; }
  std::int32_t get_threshold() const { return threshold_; }
  std::int32_t get_direction_lock_threshold() const { return direction_lock_threshold_; }
  std::chrono::milliseconds get_scroll_event_interval_milliseconds_threshold() const {
    return scroll_event_interval_milliseconds_threshold_;
  }

private:
  bool momentum_scroll_enabled_ = true;
  double speed_multiplier_ = 1.0;
  std::chrono::milliseconds recent_time_duration_milliseconds_{100};
  std::int32_t threshold_ = 128;
  std::int32_t direction_lock_threshold_ = 4;
  std::chrono::milliseconds scroll_event_interval_milliseconds_threshold_{100};
};

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
