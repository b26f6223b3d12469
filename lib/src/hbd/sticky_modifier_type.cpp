#include "hbd/sticky_modifier_type.hpp"

#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd {

void from_json(const nlohmann::json& json, sticky_modifier_type& value) {
  zunto::json::requires_string(json, "json");
  const auto& name = json.get_ref<const std::string&>();
  if (name == "on") {
    value = sticky_modifier_type::on;
  } else if (name == "off") {
    value = sticky_modifier_type::off;
  } else if (name == "toggle") {
    value = sticky_modifier_type::toggle;
  } else {
    throw zunto::json::unmarshal_error("unknown value: `" + name + "`");
  }
}

} // namespace hbd
