#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <functional>
#include <string>

namespace hbd {

struct notification_message {
  std::string id;
  std::string text;

  bool operator==(const notification_message&) const = default;
};

// Replaces the strings named; throws zunto::json::unmarshal_error.
void from_json(const nlohmann::json& json, notification_message& value);

} // namespace hbd

template <>
struct std::hash<hbd::notification_message> {
  std::size_t operator()(const hbd::notification_message& value) const noexcept;
};
