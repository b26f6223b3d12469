#pragma once

#include <cstdint>

namespace zunto::hid::usage {

// A usage within a page of the HID usage tables.
enum class value_t : std::int32_t {};

namespace generic_desktop {

inline constexpr value_t pointer{1};
inline constexpr value_t mouse{2};
inline constexpr value_t joystick{4};
inline constexpr value_t game_pad{5};
inline constexpr value_t keyboard{6};

} // namespace generic_desktop

} // namespace zunto::hid::usage
