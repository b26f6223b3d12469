#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <string_view>

namespace hbd::json_reading {

// The message of an unknown member of an event value: "unknown key: `{0}`".
[[noreturn]] void throw_unknown_key(std::string_view key);

// `requires_number` with the backquoted key as the name, then the low 32 bits (a fraction dropped).
std::int32_t read_int32_member(std::string_view key, const nlohmann::json& value);

} // namespace hbd::json_reading
