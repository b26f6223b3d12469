#pragma once

#include "hbd/event_queue/entry.hpp"
#include "hbd/event_queue/queue.hpp"
#include "hbd/manipulator/manipulators/basic/manipulated_original_event/manipulated_original_event.hpp"
#include "hbd/manipulator/to_event_definition.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <nlohmann/json_fwd.hpp>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
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

  // Arms the delay for a key-down front. Runs on the dispatcher's thread, as the timer does.
  void setup(const event_queue::entry& front_input_entry,
             std::shared_ptr<manipulated_original_event::manipulated_original_event> current,
             const std::shared_ptr<event_queue::queue>& output_event_queue, std::chrono::milliseconds delay);

  // Another key went down: the pending action posts "to_if_canceled".
  void cancel();

  // Posts the list for the pending action, then forgets it, so an arming posts at most once.
  void post_events(const std::vector<to_event_definition>& to_events);

private:
  std::vector<to_event_definition> to_if_invoked_;
  std::vector<to_event_definition> to_if_canceled_;
  std::optional<event_queue::entry> front_input_entry_;
  std::shared_ptr<manipulated_original_event::manipulated_original_event> current_;
  std::weak_ptr<event_queue::queue> output_event_queue_;
  std::int32_t generation_ = 0;
};

} // namespace hbd::manipulator::manipulators::basic
