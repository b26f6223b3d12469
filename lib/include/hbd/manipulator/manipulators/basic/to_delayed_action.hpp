#pragma once

#include "hbd/manipulator/to_event_definition.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <nlohmann/json_fwd.hpp>

#include <vector>

namespace hbd::manipulator::manipulators::basic {

// After a press of the "from" key: "to_if_invoked" when no other key goes down within a delay,
// "to_if_canceled" as soon as one does.
class to_delayed_action final : public zunto::dispatcher::extra::dispatcher_client {
public:
  // Throws zunto::json::unmarshal_error.
  explicit to_delayed_action(const nlohmann::json& json);
  ~to_delayed_action() override;

  const std::vector<to_event_definition>& get_to_if_invoked() const { return to_if_invoked_; }
  const std::vector<to_event_definition>& get_to_if_canceled() const { return to_if_canceled_; }

private:
  std::vector<to_event_definition> to_if_invoked_;
  std::vector<to_event_definition> to_if_canceled_;
};

} // namespace hbd::manipulator::manipulators::basic
