#pragma once

#include "mapbox/eternal/impl/map.hpp"
#include "zunto/hid/usage.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace hbd::momentary_switch_event_details::apple_vendor_keyboard_key_code {

using usage = zunto::hid::usage::value_t;

// Keys on the vendor keyboard page (0xFF01).
// Writing takes the first name listed for a usage, so the order matters.
inline constexpr std::array<std::pair<std::string_view, usage>, 10> name_value_pairs{{
    {"mission_control", usage{16}},
    {"spotlight", usage{1}},
    {"dashboard", usage{2}},
    {"function", usage{3}},
    {"launchpad", usage{4}},
    {"expose_all", usage{16}},
    {"expose_desktop", usage{17}},
    {"brightness_up", usage{32}},
    {"brightness_down", usage{33}},
    {"language", usage{48}},
}};

inline constexpr auto name_value_map = mapbox::eternal::impl::make_map(name_value_pairs);

} // namespace hbd::momentary_switch_event_details::apple_vendor_keyboard_key_code
