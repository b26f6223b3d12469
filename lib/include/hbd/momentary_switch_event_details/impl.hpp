#pragma once

#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"
#include "zunto/hid/usage_pair.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace hbd::momentary_switch_event_details::impl {

// Reads a key given by a name of the map or by any number on the page; throws
// zunto::json::unmarshal_error.
template <typename Map>
zunto::hid::usage_pair make_usage_pair(const Map& map, zunto::hid::usage_page::value_t usage_page, std::string_view key,
                                       const nlohmann::json& value) {
  if (value.is_string()) {
    if (auto usage = map.find(value.get_ref<const std::string&>())) {
      return zunto::hid::usage_pair(usage_page, *usage);
    }
    throw zunto::json::unmarshal_error("unknown " + std::string(key) + ": `" +
                                       zunto::json::dump_for_error_message(value) + "`");
  }
  if (value.is_number()) {
    return zunto::hid::usage_pair(usage_page,
                                  zunto::hid::usage::value_t{zunto::json::wrapping_number<std::int32_t>(value)});
  }
  throw zunto::json::unmarshal_error("`" + std::string(key) + "` must be string or number, but is `" +
                                     zunto::json::dump_for_error_message(value) + "`");
}

} // namespace hbd::momentary_switch_event_details::impl
