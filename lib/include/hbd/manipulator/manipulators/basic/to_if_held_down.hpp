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

// The events posted instead of "to" when the "from" key stays held past a threshold.
class to_if_held_down final : public zunto::dispatcher::extra::dispatcher_client {
public:
  // An object or an array of to-events; throws zunto::json::unmarshal_error.
  explicit to_if_held_down(const nlohmann::json& json);
  ~to_if_held_down() override;

  const std::vector<to_event_definition>& get_to() const { return to_; }

  // Disarms a pending timer and, for a key-down front, arms a new one. Runs on the dispatcher's
  // thread, as the timer does.
  void setup(const event_queue::entry& front_input_entry,
             std::weak_ptr<manipulated_original_event::manipulated_original_event> current,
             std::weak_ptr<event_queue::queue> output_event_queue, std::chrono::milliseconds threshold);

  // Disarms a pending timer.
  void cancel() { ++generation_; }

private:
  void fire(std::int32_t generation);

  std::vector<to_event_definition> to_;
  std::optional<event_queue::entry> front_input_entry_;
  std::weak_ptr<manipulated_original_event::manipulated_original_event> current_;
  std::weak_ptr<event_queue::queue> output_event_queue_;
  std::int32_t generation_ = 0;
};

} // namespace hbd::manipulator::manipulators::basic
