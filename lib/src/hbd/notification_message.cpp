#include "hbd/notification_message.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/hash_combine.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd {

void from_json(const nlohmann::json& json, notification_message& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "id") {
      zunto::json::requires_string(member, key);
      value.id = member.get<std::string>();
    } else if (key == "text") {
      zunto::json::requires_string(member, key);
      value.text = member.get<std::string>();
    } else {
      json_reading::throw_unknown_key(key);
    }
  }
}

} // namespace hbd

std::size_t std::hash<hbd::notification_message>::operator()(const hbd::notification_message& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, std::hash<std::string>{}(value.id));
  zunto::hash_combine(combined, std::hash<std::string>{}(value.text));
  return combined;
}
