#include "hbd/manipulator/conditions/condition_reading.hpp"

#include "hbd/json_reading.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::conditions::condition_reading {

void read(const nlohmann::json& json, const std::string_view* type_names, std::size_t type_count,
          const std::function<void(std::size_t)>& set_type,
          const std::function<bool(const std::string&, const nlohmann::json&)>& handle) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& value = key_item.value();
    if (key == "type") {
      zunto::json::requires_string(value, "type");
      const auto& name = value.get_ref<const std::string&>();
      std::size_t index = 0;
      while (index < type_count && type_names[index] != name) {
        ++index;
      }
      if (index == type_count) {
        throw zunto::json::unmarshal_error("unknown type `" + name + "`");
      }
      set_type(index);
    } else if (key != "description" && !handle(key, value)) {
      json_reading::throw_unknown_key_in(key, json);
    }
  }
}

void throw_not_found(std::string_view name, const nlohmann::json& json) {
  throw zunto::json::unmarshal_error("`" + std::string(name) + "` is not found in `" +
                                     zunto::json::dump_for_error_message(json) + "`");
}

} // namespace hbd::manipulator::conditions::condition_reading
