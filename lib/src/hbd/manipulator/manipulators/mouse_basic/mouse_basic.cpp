#include "hbd/manipulator/manipulators/mouse_basic/mouse_basic.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <limits>
#include <string>
#include <utility>

namespace hbd::manipulator::manipulators::mouse_basic {

namespace {

// The smallest value has no negation; it becomes the largest.
std::int32_t negate(std::int32_t value) {
  return value == std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::max() : -value;
}

void read_words(const std::string& key, const nlohmann::json& value,
                const std::function<void(const std::string&)>& set) {
  zunto::json::requires_array(value, "`" + key + "`");
  for (const auto& item : value) {
    zunto::json::requires_string(item, "items in `" + key + "`");
    set(item.get<std::string>());
  }
}

} // namespace

mouse_basic::mouse_basic(const nlohmann::json& json,
                         const core_configuration::details::complex_modifications_parameters&) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& value = key_item.value();
    if (key == "flip") {
      read_words(key, value, [this](const std::string& word) {
        if (word == "x") {
          flip_x_ = true;
        } else if (word == "y") {
          flip_y_ = true;
        } else if (word == "vertical_wheel") {
          flip_vertical_wheel_ = true;
        } else if (word == "horizontal_wheel") {
          flip_horizontal_wheel_ = true;
        }
      });
    } else if (key == "swap") {
      read_words(key, value, [this](const std::string& word) {
        if (word == "xy") {
          swap_xy_ = true;
        } else if (word == "wheels") {
          swap_wheels_ = true;
        }
      });
    } else if (key != "conditions" && key != "parameters" && key != "type" && key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

pointing_motion mouse_basic::make_motion(const pointing_motion& motion) const {
  auto result = motion;
  if (swap_xy_) {
    std::swap(result.x, result.y);
  }
  if (swap_wheels_) {
    std::swap(result.vertical_wheel, result.horizontal_wheel);
  }
  if (flip_x_) {
    result.x = negate(result.x);
  }
  if (flip_y_) {
    result.y = negate(result.y);
  }
  if (flip_vertical_wheel_) {
    result.vertical_wheel = negate(result.vertical_wheel);
  }
  if (flip_horizontal_wheel_) {
    result.horizontal_wheel = negate(result.horizontal_wheel);
  }
  return result;
}

manipulate_result mouse_basic::manipulate(event_queue::entry& front_input_entry, const event_queue::queue&,
                                          const std::shared_ptr<event_queue::queue>& output_event_queue,
                                          zunto::osx::chrono::absolute_time_point) {
  if (!output_event_queue || !front_input_entry.get_valid() || get_validity() == validity::invalid) {
    return manipulate_result::passed;
  }
  if (!fulfill_conditions(front_input_entry, output_event_queue->get_manipulator_environment())) {
    return manipulate_result::passed;
  }
  const auto motion = front_input_entry.get_event().get_pointing_motion();
  if (!motion || !(flip_x_ || flip_y_ || flip_vertical_wheel_ || flip_horizontal_wheel_ || swap_xy_ || swap_wheels_)) {
    return manipulate_result::passed;
  }
  front_input_entry.set_validity(validity::invalid);
  output_event_queue->emplace_back_entry(front_input_entry.get_device_id(), front_input_entry.get_event_time_stamp(),
                                         event_queue::event(make_motion(*motion)), front_input_entry.get_event_type(),
                                         front_input_entry.get_original_event(), front_input_entry.get_event_origin(),
                                         event_queue::state::manipulated, front_input_entry.get_lazy());
  return manipulate_result::manipulated;
}

} // namespace hbd::manipulator::manipulators::mouse_basic
