#pragma once

#include "hbd/connected_devices/details/descriptions.hpp"
#include "hbd/device_identifiers.hpp"

#include <nlohmann/json.hpp>

namespace hbd::connected_devices::details {

// One device of the backend's device list.
class device final {
public:
  device(descriptions device_descriptions, device_identifiers identifiers, bool is_built_in_keyboard,
         bool is_built_in_trackpad, bool is_built_in_touch_bar);

  // Values of the wrong kind keep their defaults; only "identifiers" of a wrong shape throws
  // (zunto::json::unmarshal_error).
  static device make_from_json(const nlohmann::json& json);

  const descriptions& get_descriptions() const { return descriptions_; }
  const device_identifiers& get_identifiers() const { return identifiers_; }
  bool get_is_built_in_keyboard() const { return is_built_in_keyboard_; }
  bool get_is_built_in_trackpad() const { return is_built_in_trackpad_; }
  bool get_is_built_in_touch_bar() const { return is_built_in_touch_bar_; }

private:
  descriptions descriptions_;
  device_identifiers identifiers_;
  bool is_built_in_keyboard_;
  bool is_built_in_trackpad_;
  bool is_built_in_touch_bar_;
};

} // namespace hbd::connected_devices::details
