#include "hbd/core_configuration/details/global_configuration.hpp"

#include "zunto/json/object_copy.hpp"

namespace hbd::core_configuration::details {

global_configuration::global_configuration(const nlohmann::json& json) : json_(json) {
  if (!json.is_object()) {
    return;
  }
  auto read = [&](const char* name, bool& field) {
    if (auto it = json.find(name); it != json.end() && it->is_boolean()) {
      field = it->get<bool>();
    }
  };
  read("check_for_updates_on_startup", check_for_updates_on_startup_);
  read("show_in_menu_bar", show_in_menu_bar_);
  read("show_profile_name_in_menu_bar", show_profile_name_in_menu_bar_);
  read("ask_for_confirmation_before_quitting", ask_for_confirmation_before_quitting_);
  read("unsafe_ui", unsafe_ui_);
}

nlohmann::json global_configuration::to_json() const {
  auto json = zunto::json::object_copy(json_);
  json["check_for_updates_on_startup"] = check_for_updates_on_startup_;
  json["show_in_menu_bar"] = show_in_menu_bar_;
  json["show_profile_name_in_menu_bar"] = show_profile_name_in_menu_bar_;
  json["ask_for_confirmation_before_quitting"] = ask_for_confirmation_before_quitting_;
  json["unsafe_ui"] = unsafe_ui_;
  return json;
}

} // namespace hbd::core_configuration::details
