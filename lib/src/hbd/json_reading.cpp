#include "hbd/json_reading.hpp"

#include "zunto/json/number.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd::json_reading {

void throw_unknown_key(std::string_view key) {
  throw zunto::json::unmarshal_error("unknown key: `" + std::string(key) + "`");
}

std::int32_t read_int32_member(std::string_view key, const nlohmann::json& value) {
  zunto::json::requires_number(value, "`" + std::string(key) + "`");
  return zunto::json::wrapping_number<std::int32_t>(value);
}

} // namespace hbd::json_reading
