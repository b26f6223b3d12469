#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace zunto::hid::vendor_id {

// The vendor id of a HID device.
enum class value_t : std::uint64_t {};

// Reads any JSON number; throws zunto::json::unmarshal_error for other kinds.
void from_json(const nlohmann::json& json, value_t& value);
void to_json(nlohmann::json& json, value_t value);

} // namespace zunto::hid::vendor_id
