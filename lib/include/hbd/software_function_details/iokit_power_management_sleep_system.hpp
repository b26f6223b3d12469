#pragma once

#include <nlohmann/json_fwd.hpp>

#include <chrono>

namespace hbd::software_function_details {

struct iokit_power_management_sleep_system {
  std::chrono::milliseconds delay_milliseconds{500};

  bool operator==(const iokit_power_management_sleep_system&) const = default;
};

void from_json(const nlohmann::json& json, iokit_power_management_sleep_system& value);

} // namespace hbd::software_function_details
