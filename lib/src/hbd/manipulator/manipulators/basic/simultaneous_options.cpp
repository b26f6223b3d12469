#include "hbd/manipulator/manipulators/basic/simultaneous_options.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd::manipulator::manipulators::basic {

void from_json(const nlohmann::json& json, simultaneous_options& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    if (key == "detect_key_down_uninterruptedly") {
      zunto::json::requires_boolean(member, "`" + key + "`");
      value.detect_key_down_uninterruptedly_ = member.get<bool>();
    } else if (key == "key_down_order" || key == "key_up_order") {
      (key == "key_down_order" ? value.key_down_order_ : value.key_up_order_) =
          json_reading::read_wrapped<simultaneous_options::key_order>(key, member);
    } else if (key == "key_up_when") {
      value.key_up_when_ = json_reading::read_wrapped<simultaneous_options::key_up_when>(key, member);
    } else if (key == "to_after_key_up") {
      value.to_after_key_up_ = make_to_event_definitions(key, member);
    } else if (key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

void from_json(const nlohmann::json& json, simultaneous_options::key_order& value) {
  zunto::json::requires_string(json, "json");
  const auto& name = json.get_ref<const std::string&>();
  if (name == "insensitive") {
    value = simultaneous_options::key_order::insensitive;
  } else if (name == "strict") {
    value = simultaneous_options::key_order::strict;
  } else if (name == "strict_inverse") {
    value = simultaneous_options::key_order::strict_inverse;
  } else {
    throw zunto::json::unmarshal_error("unknown value: `" + name + "`");
  }
}

void from_json(const nlohmann::json& json, simultaneous_options::key_up_when& value) {
  zunto::json::requires_string(json, "json");
  const auto& name = json.get_ref<const std::string&>();
  if (name == "any") {
    value = simultaneous_options::key_up_when::any;
  } else if (name == "all") {
    value = simultaneous_options::key_up_when::all;
  } else {
    throw zunto::json::unmarshal_error("unknown value: `" + name + "`");
  }
}

} // namespace hbd::manipulator::manipulators::basic
