#pragma once

#include "mapbox/eternal/impl/map.hpp"
#include "zunto/hid/usage.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace hbd::momentary_switch_event_details::apple_vendor_top_case_key_code {

using usage = zunto::hid::usage::value_t;

// Keys on the vendor top-case page (0xFF).
// Writing takes the first name listed for a usage, so the order matters.
inline constexpr std::array<std::pair<std::string_view, usage>, 7> name_value_pairs{{
    {"keyboard_fn", usage{3}},
    {"brightness_up", usage{4}},
    {"brightness_down", usage{5}},
    {"video_mirror", usage{6}},
    {"illumination_toggle", usage{7}},
    {"illumination_up", usage{8}},
    {"illumination_down", usage{9}},
}};

inline constexpr auto name_value_map = mapbox::eternal::impl::make_map(name_value_pairs);

} // namespace hbd::momentary_switch_event_details::apple_vendor_top_case_key_code
