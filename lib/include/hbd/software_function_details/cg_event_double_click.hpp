#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>

namespace hbd::software_function_details {

struct cg_event_double_click {
  std::int32_t button = 0;

  bool operator==(const cg_event_double_click&) const = default;
};

void from_json(const nlohmann::json& json, cg_event_double_click& value);

} // namespace hbd::software_function_details
