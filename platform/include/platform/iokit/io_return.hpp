#pragma once

#include <cstdint>

// Result codes of the HID and notification calls: 0 is success, failures have the error bits set.
namespace platform::iokit {

using io_return = std::int32_t;

inline constexpr io_return return_success = 0;
inline constexpr io_return return_error = static_cast<io_return>(0xE00002BC);
inline constexpr io_return return_no_device = static_cast<io_return>(0xE00002C0);
inline constexpr io_return return_bad_argument = static_cast<io_return>(0xE00002C2);
inline constexpr io_return return_exclusive_access = static_cast<io_return>(0xE00002C5);
inline constexpr io_return return_not_open = static_cast<io_return>(0xE00002CD);

} // namespace platform::iokit
