#pragma once

#include <cstdint>

namespace zunto::hid::usage {

// A usage within a page of the HID usage tables.
enum class value_t : std::int32_t {};

} // namespace zunto::hid::usage
