#include "hbd/manipulator/manipulator_factory.hpp"

#include "hbd/manipulator/conditions/device.hpp"
#include "hbd/manipulator/conditions/event_changed.hpp"
#include "hbd/manipulator/conditions/frontmost_application.hpp"
#include "hbd/manipulator/conditions/input_source.hpp"
#include "hbd/manipulator/conditions/keyboard_type.hpp"
#include "hbd/manipulator/conditions/variable.hpp"
#include "hbd/manipulator/manipulators/basic/basic.hpp"
#include "hbd/manipulator/manipulators/mouse_basic/mouse_basic.hpp"
#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/mouse_motion_to_scroll.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace hbd::manipulator::manipulator_factory {

std::shared_ptr<manipulators::base> make_manipulator(
    const nlohmann::json& json, const core_configuration::details::complex_modifications_parameters& parameters) {
  const auto it = json.is_object() ? json.find("type") : json.end();
  if (it == json.end()) {
    throw zunto::json::unmarshal_error("`type` must be specified: " + zunto::json::dump_for_error_message(json));
  }
  const auto type = it->get<std::string>();
  if (type == "mouse_motion_to_scroll") {
    return std::make_shared<manipulators::mouse_motion_to_scroll::mouse_motion_to_scroll>(json, parameters);
  }
  if (type == "mouse_basic") {
    return std::make_shared<manipulators::mouse_basic::mouse_basic>(json, parameters);
  }
  if (type == "basic") {
    return std::make_shared<manipulators::basic::basic>(json, parameters);
  }
  throw zunto::json::unmarshal_error("unknown type `" + type + "`");
}

std::shared_ptr<conditions::base> make_condition(const nlohmann::json& json) {
  const auto it = json.is_object() ? json.find("type") : json.end();
  if (it == json.end()) {
    throw zunto::json::unmarshal_error("condition type is not specified in `" +
                                       zunto::json::dump_for_error_message(json) + "`");
  }
  zunto::json::requires_string(*it, "condition type");
  const auto& type = it->get_ref<const std::string&>();
  if (type == "device_if" || type == "device_unless" || type == "device_exists_if" || type == "device_exists_unless") {
    return std::make_shared<conditions::device>(json);
  }
  if (type == "event_changed_if" || type == "event_changed_unless") {
    return std::make_shared<conditions::event_changed>(json);
  }
  if (type == "frontmost_application_if" || type == "frontmost_application_unless") {
    return std::make_shared<conditions::frontmost_application>(json);
  }
  if (type == "input_source_if" || type == "input_source_unless") {
    return std::make_shared<conditions::input_source>(json);
  }
  if (type == "variable_if" || type == "variable_unless") {
    return std::make_shared<conditions::variable>(json);
  }
  if (type == "keyboard_type_if" || type == "keyboard_type_unless") {
    return std::make_shared<conditions::keyboard_type>(json);
  }
  throw zunto::json::unmarshal_error("unknown condition type `" + type + "` in `" +
                                     zunto::json::dump_for_error_message(json) + "`");
}

} // namespace hbd::manipulator::manipulator_factory
