#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>

namespace zunto::osx::iokit_keyboard_type {

// The keyboard type the system assigns to a keyboard (ANSI, ISO, JIS, ...).
enum class value_t : std::uint64_t {};

void to_json(nlohmann::json& json, value_t value);

} // namespace zunto::osx::iokit_keyboard_type
