#pragma once

#include <cstdint>

namespace zunto::hid::usage_page {

// A page of the HID usage tables (1 generic desktop, 7 keyboard, 12 consumer, ...).
enum class value_t : std::int32_t {};

inline constexpr value_t generic_desktop{1};
inline constexpr value_t keyboard_or_keypad{7};
inline constexpr value_t button{9};
inline constexpr value_t consumer{12};
inline constexpr value_t apple_vendor_top_case{0xFF};
inline constexpr value_t apple_vendor_keyboard{0xFF01};

} // namespace zunto::hid::usage_page
