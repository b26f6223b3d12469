#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace zunto::hid::country_code {

// The country code that a HID keyboard reports.
enum class value_t : std::uint64_t {};

// Reads any JSON number as the device ids read theirs (a negative integer keeps its two's-complement
// pattern, a floating-point number is cut and saturates); throws zunto::json::unmarshal_error for
// other kinds.
void from_json(const nlohmann::json& json, value_t& value);
void to_json(nlohmann::json& json, value_t value);

} // namespace zunto::hid::country_code
