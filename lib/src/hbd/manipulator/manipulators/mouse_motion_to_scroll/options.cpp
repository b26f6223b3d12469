#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/options.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

namespace {

std::int32_t at_least_one(std::int32_t value, std::int32_t fallback) { return value < 1 ? fallback : value; }

} // namespace

void options::update(const nlohmann::json& json) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& value = key_item.value();
    if (key == "momentum_scroll_enabled") {
      zunto::json::requires_boolean(value, "`" + key + "`");
      momentum_scroll_enabled_ = value.get<bool>();
    } else if (key == "speed_multiplier") {
      zunto::json::requires_number(value, "`" + key + "`");
      const auto multiplier = value.get<double>();
      speed_multiplier_ = multiplier <= 0.0 ? 1.0 : multiplier;
    } else if (key == "recent_time_duration_milliseconds") {
      recent_time_duration_milliseconds_ =
          std::chrono::milliseconds(at_least_one(json_reading::read_int32_member(key, value), 100));
    } else if (key == "threshold") {
      threshold_ = at_least_one(json_reading::read_int32_member(key, value), 128);
    } else if (key == "direction_lock_threshold") {
      direction_lock_threshold_ = at_least_one(json_reading::read_int32_member(key, value), 4);
    } else if (key == "scroll_event_interval_milliseconds_threshold") {
      scroll_event_interval_milliseconds_threshold_ =
          std::chrono::milliseconds(at_least_one(json_reading::read_int32_member(key, value), 100));
    }
  }
}

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
