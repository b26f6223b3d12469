#pragma once

#include "mapbox/eternal/impl/map.hpp"
#include "zunto/hid/usage.hpp"

#include <array>
#include <string_view>
#include <utility>

namespace hbd::momentary_switch_event_details::pointing_button {

using usage = zunto::hid::usage::value_t;

// Pointing-device buttons (usage page 9).
// Writing takes the first name listed for a usage, so the order matters.
inline constexpr std::array<std::pair<std::string_view, usage>, 32> name_value_pairs{{
    {"button1", usage{1}},   {"button2", usage{2}},   {"button3", usage{3}},   {"button4", usage{4}},
    {"button5", usage{5}},   {"button6", usage{6}},   {"button7", usage{7}},   {"button8", usage{8}},
    {"button9", usage{9}},   {"button10", usage{10}}, {"button11", usage{11}}, {"button12", usage{12}},
    {"button13", usage{13}}, {"button14", usage{14}}, {"button15", usage{15}}, {"button16", usage{16}},
    {"button17", usage{17}}, {"button18", usage{18}}, {"button19", usage{19}}, {"button20", usage{20}},
    {"button21", usage{21}}, {"button22", usage{22}}, {"button23", usage{23}}, {"button24", usage{24}},
    {"button25", usage{25}}, {"button26", usage{26}}, {"button27", usage{27}}, {"button28", usage{28}},
    {"button29", usage{29}}, {"button30", usage{30}}, {"button31", usage{31}}, {"button32", usage{32}},
}};

inline constexpr auto name_value_map = mapbox::eternal::impl::make_map(name_value_pairs);

} // namespace hbd::momentary_switch_event_details::pointing_button
