#include "hbd/mouse_key.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/hash_combine.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

#include <bit>

namespace hbd {

void from_json(const nlohmann::json& json, mouse_key& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "x") {
      value.x = json_reading::read_int32_member(key, member);
    } else if (key == "y") {
      value.y = json_reading::read_int32_member(key, member);
    } else if (key == "vertical_wheel") {
      value.vertical_wheel = json_reading::read_int32_member(key, member);
    } else if (key == "horizontal_wheel") {
      value.horizontal_wheel = json_reading::read_int32_member(key, member);
    } else if (key == "speed_multiplier") {
      zunto::json::requires_number(member, "`" + key + "`");
      value.speed_multiplier = member.get<double>();
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd

std::size_t std::hash<hbd::mouse_key>::operator()(const hbd::mouse_key& value) const noexcept {
  std::uint64_t combined = 0;
  for (const std::int32_t field : {value.x, value.y, value.vertical_wheel, value.horizontal_wheel}) {
    zunto::hash_combine(combined, std::hash<std::int32_t>{}(field));
  }
  // Both zeros hash alike, as they compare equal.
  zunto::hash_combine(combined,
                      value.speed_multiplier == 0.0 ? 0 : std::bit_cast<std::uint64_t>(value.speed_multiplier));
  return combined;
}
