#pragma once

#include "hbd/manipulator/conditions/base.hpp"
#include "hbd/manipulator_environment_variable_value.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace hbd::manipulator::conditions {

// Whether a rule variable holds a value (a variable never set holds the integer 0).
class variable final : public base {
public:
  enum class type : std::uint32_t {
    variable_if,
    variable_unless,
  };

  // Throws zunto::json::unmarshal_error.
  explicit variable(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

private:
  type type_ = type::variable_if;
  std::optional<std::string> name_;
  std::optional<manipulator_environment_variable_value> value_;
};

} // namespace hbd::manipulator::conditions
