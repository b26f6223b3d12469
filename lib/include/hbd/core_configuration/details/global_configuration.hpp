#pragma once

#include <nlohmann/json.hpp>

namespace hbd::core_configuration::details {

// The configuration file's "global" object. Never rejects a value: a member of another kind
// reads as its default.
class global_configuration final {
public:
  explicit global_configuration(const nlohmann::json& json);

  nlohmann::json to_json() const;

  bool get_check_for_updates_on_startup() const { return check_for_updates_on_startup_; }
  void set_check_for_updates_on_startup(bool value) { check_for_updates_on_startup_ = value; }
  bool get_show_in_menu_bar() const { return show_in_menu_bar_; }
  void set_show_in_menu_bar(bool value) { show_in_menu_bar_ = value; }
  bool get_show_profile_name_in_menu_bar() const { return show_profile_name_in_menu_bar_; }
  void set_show_profile_name_in_menu_bar(bool value) { show_profile_name_in_menu_bar_ = value; }
  bool get_ask_for_confirmation_before_quitting() const { return ask_for_confirmation_before_quitting_; }
  void set_ask_for_confirmation_before_quitting(bool value) { ask_for_confirmation_before_quitting_ = value; }
  bool get_unsafe_ui() const { return unsafe_ui_; }
  void set_unsafe_ui(bool value) { unsafe_ui_ = value; }

private:
  nlohmann::json json_;
  bool check_for_updates_on_startup_ = true;
  bool show_in_menu_bar_ = true;
  bool show_profile_name_in_menu_bar_ = false;
  bool ask_for_confirmation_before_quitting_ = true;
  bool unsafe_ui_ = false;
};

} // namespace hbd::core_configuration::details
