#pragma once

#include "mapbox/eternal/impl/map.hpp"
#include "zunto/hid/usage.hpp"

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace hbd::momentary_switch_event_details::generic_desktop {

using usage = zunto::hid::usage::value_t;

// Game-pad direction keys on the generic desktop page (1).
// Writing takes the first name listed for a usage, so the order matters.
inline constexpr std::array<std::pair<std::string_view, usage>, 4> name_value_pairs{{
    {"dpad_up", usage{144}},
    {"dpad_down", usage{145}},
    {"dpad_right", usage{146}},
    {"dpad_left", usage{147}},
}};

inline constexpr auto name_value_map = mapbox::eternal::impl::make_map(name_value_pairs);

// The first name listed for the usage, "unsupported" when none is.
std::string make_name(usage value);

} // namespace hbd::momentary_switch_event_details::generic_desktop
