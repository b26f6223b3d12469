#pragma once

#include "hbd/manipulator/to_event_definition.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <nlohmann/json_fwd.hpp>

#include <vector>

namespace hbd::manipulator::manipulators::basic {

// The events posted instead of "to" when the "from" key stays held past a threshold.
class to_if_held_down final : public zunto::dispatcher::extra::dispatcher_client {
public:
  // An object or an array of to-events; throws zunto::json::unmarshal_error.
  explicit to_if_held_down(const nlohmann::json& json);
  ~to_if_held_down() override;

  const std::vector<to_event_definition>& get_to() const { return to_; }

private:
  std::vector<to_event_definition> to_;
};

} // namespace hbd::manipulator::manipulators::basic
