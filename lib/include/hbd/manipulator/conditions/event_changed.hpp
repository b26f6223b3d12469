#pragma once

#include "hbd/manipulator/conditions/base.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>

namespace hbd::manipulator::conditions {

// Whether the entry was produced by a manipulator.
class event_changed final : public base {
public:
  enum class type : std::uint32_t {
    event_changed_if,
    event_changed_unless,
  };

  // Throws zunto::json::unmarshal_error.
  explicit event_changed(const nlohmann::json& json);

  bool is_fulfilled(const event_queue::entry& entry, const manipulator_environment& environment) const override;

private:
  type type_ = type::event_changed_if;
  std::optional<bool> value_;
};

} // namespace hbd::manipulator::conditions
