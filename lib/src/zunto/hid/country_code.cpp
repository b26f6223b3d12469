#include "zunto/hid/country_code.hpp"

#include "zunto/json/number.hpp"
#include "zunto/json/requires.hpp"

namespace zunto::hid::country_code {

void from_json(const nlohmann::json& json, value_t& value) {
  zunto::json::requires_number(json, "json");
  value = value_t{zunto::json::unsigned_64_bit_pattern(json)};
}

void to_json(nlohmann::json& json, value_t value) { json = static_cast<std::uint64_t>(value); }

} // namespace zunto::hid::country_code
