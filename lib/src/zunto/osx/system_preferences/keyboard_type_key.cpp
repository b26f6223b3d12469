#include "zunto/osx/system_preferences/keyboard_type_key.hpp"

namespace zunto::osx::system_preferences {

void to_json(nlohmann::json& json, const keyboard_type_key& value) {
  json = nlohmann::json{
      {"vendor_id", value.vendor_id},
      {"product_id", value.product_id},
      {"country_code", value.country_code},
  };
}

} // namespace zunto::osx::system_preferences
