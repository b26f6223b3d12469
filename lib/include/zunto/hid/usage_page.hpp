#pragma once

#include <cstdint>

namespace zunto::hid::usage_page {

// A page of the HID usage tables (1 generic desktop, 7 keyboard, 12 consumer, ...).
enum class value_t : std::int32_t {};

inline constexpr value_t generic_desktop{1};

} // namespace zunto::hid::usage_page
