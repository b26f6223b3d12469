#pragma once

#include "hbd/manipulator/to_event_definition.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <vector>

namespace hbd::manipulator::manipulators::basic {

// How keys pressed together are told apart from keys pressed one after another.
class simultaneous_options final {
public:
  enum class key_order : std::uint32_t {
    insensitive,
    strict,
    strict_inverse,
  };

  enum class key_up_when : std::uint32_t {
    any,
    all,
  };

  bool get_detect_key_down_uninterruptedly() const { return detect_key_down_uninterruptedly_; }
  key_order get_key_down_order() const { return key_down_order_; }
  key_order get_key_up_order() const { return key_up_order_; }
  key_up_when get_key_up_when() const { return key_up_when_; }
  const std::vector<to_event_definition>& get_to_after_key_up() const { return to_after_key_up_; }

  friend void from_json(const nlohmann::json& json, simultaneous_options& value);

private:
  bool detect_key_down_uninterruptedly_ = false;
  key_order key_down_order_ = key_order::insensitive;
  key_order key_up_order_ = key_order::insensitive;
  key_up_when key_up_when_ = key_up_when::any;
  std::vector<to_event_definition> to_after_key_up_;
};

// Throw zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, simultaneous_options& value);
void from_json(const nlohmann::json& json, simultaneous_options::key_order& value);
void from_json(const nlohmann::json& json, simultaneous_options::key_up_when& value);

} // namespace hbd::manipulator::manipulators::basic
