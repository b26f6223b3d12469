#include "hbd/json_reading.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/number.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <string>

namespace hbd::json_reading {

void throw_unknown_key(std::string_view key) {
  throw zunto::json::unmarshal_error("unknown key: `" + std::string(key) + "`");
}

void throw_unknown_key_in(std::string_view key, const nlohmann::json& object) {
  throw zunto::json::unmarshal_error("unknown key `" + std::string(key) + "` in `" +
                                     zunto::json::dump_for_error_message(object) + "`");
}

std::int32_t read_int32_member(std::string_view key, const nlohmann::json& value) {
  zunto::json::requires_number(value, fmt::format("`{0}`", key));
  return zunto::json::wrapping_number<std::int32_t>(value);
}

} // namespace hbd::json_reading
