#include "hbd/manipulator/from_modifiers_definition.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator {

void from_json(const nlohmann::json& json, from_modifiers_definition& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& [key, member] : json.items()) {
    if (key == "mandatory" || key == "optional") {
      (key == "mandatory" ? value.mandatory_ : value.optional_) =
          json_reading::wrap_error(key, [&] { return modifier_definition::make_modifiers(member); });
    } else if (key != "description") {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

} // namespace hbd::manipulator
