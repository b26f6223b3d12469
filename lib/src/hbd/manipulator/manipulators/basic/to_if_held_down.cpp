#include "hbd/manipulator/manipulators/basic/to_if_held_down.hpp"

#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::basic {

to_if_held_down::to_if_held_down(const nlohmann::json& json)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {
  try {
    // The manipulator names the key in errors.
    if (json.is_object()) {
      from_json(json, to_.emplace_back());
    } else if (json.is_array()) {
      for (const auto& entry : json) {
        from_json(entry, to_.emplace_back());
      }
    } else {
      throw zunto::json::unmarshal_error("json must be object or array, but is `" +
                                         zunto::json::dump_for_error_message(json) + "`");
    }
  } catch (...) {
    detach_from_dispatcher();
    throw;
  }
}

to_if_held_down::~to_if_held_down() { detach_from_dispatcher(); }

} // namespace hbd::manipulator::manipulators::basic
