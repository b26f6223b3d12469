#pragma once

#include <cstdint>

namespace zunto::hid::usage_page {

// A page of the HID usage tables (1 generic desktop, 7 keyboard, 12 consumer, ...).
enum class value_t : std::int32_t {};

} // namespace zunto::hid::usage_page
