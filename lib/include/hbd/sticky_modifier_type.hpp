#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>

namespace hbd {

enum class sticky_modifier_type : std::uint32_t {
  on,
  off,
  toggle,
};

// "on", "off" or "toggle"; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, sticky_modifier_type& value);

} // namespace hbd
