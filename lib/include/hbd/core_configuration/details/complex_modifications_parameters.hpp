#pragma once

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hbd::core_configuration::details {

// The timing parameters of complex modifications, each kept within its bounds.
class complex_modifications_parameters final {
public:
  complex_modifications_parameters();
  explicit complex_modifications_parameters(const nlohmann::json& json);

  // Takes every known parameter the value holds; values that are not numbers are passed over.
  void update(const nlohmann::json& json);

  std::map<std::string, std::reference_wrapper<std::int32_t>> make_map();

  void normalize();
  static void normalize(std::int32_t& value, std::optional<std::int32_t> min, std::optional<std::int32_t> max,
                        const std::string& name);

  nlohmann::json to_json() const;

  std::optional<std::int32_t> get_value(const std::string& name) const;
  void set_value(const std::string& name, std::int32_t value);

  const nlohmann::json& get_json() const { return *json_; }
  std::int32_t get_basic_simultaneous_threshold_milliseconds() const {
    return basic_simultaneous_threshold_milliseconds_;
  }
  std::int32_t get_basic_to_if_alone_timeout_milliseconds() const { return basic_to_if_alone_timeout_milliseconds_; }
  std::int32_t get_basic_to_if_held_down_threshold_milliseconds() const {
    return basic_to_if_held_down_threshold_milliseconds_;
  }
  std::int32_t get_basic_to_delayed_action_delay_milliseconds() const {
    return basic_to_delayed_action_delay_milliseconds_;
  }
  std::int32_t get_mouse_motion_to_scroll_speed() const { return mouse_motion_to_scroll_speed_; }

private:
  // The five parameters in their fixed order, with their bounds.
  struct parameter final {
    std::string_view name;
    std::optional<std::int32_t> min;
    std::optional<std::int32_t> max;
    std::int32_t complex_modifications_parameters::*field;
  };
  static const std::array<parameter, 5> parameters_;

  // Never changed once kept: every manipulator of a rule holds a copy of these parameters.
  std::shared_ptr<const nlohmann::json> json_;
  std::int32_t basic_simultaneous_threshold_milliseconds_;
  std::int32_t basic_to_if_alone_timeout_milliseconds_;
  std::int32_t basic_to_if_held_down_threshold_milliseconds_;
  std::int32_t basic_to_delayed_action_delay_milliseconds_;
  std::int32_t mouse_motion_to_scroll_speed_;
};

} // namespace hbd::core_configuration::details
