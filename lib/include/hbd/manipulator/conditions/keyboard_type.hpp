#pragma once

#include "hbd/manipulator/conditions/base.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace hbd::manipulator::conditions {

// Whether the virtual keyboard's type ("ansi", "iso", "jis") is one of those listed.
class keyboard_type final : public base {
public:
  enum class type : std::uint32_t {
    keyboard_type_if,
    keyboard_type_unless,
  };

  // Throws zunto::json::unmarshal_error.
  explicit keyboard_type(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

private:
  type type_ = type::keyboard_type_if;
  std::vector<std::string> keyboard_types_;
};

} // namespace hbd::manipulator::conditions
