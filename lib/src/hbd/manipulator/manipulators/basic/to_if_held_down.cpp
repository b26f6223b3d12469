#include "hbd/manipulator/manipulators/basic/to_if_held_down.hpp"

#include "hbd/hbd_notification_center.hpp"
#include "hbd/manipulator/manipulators/basic/event_sender.hpp"
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

void to_if_held_down::setup(const event_queue::entry& front_input_entry,
                            std::weak_ptr<manipulated_original_event::manipulated_original_event> current,
                            std::weak_ptr<event_queue::queue> output_event_queue, std::chrono::milliseconds threshold) {
  ++generation_;
  if (front_input_entry.get_event_type() != event_type::key_down || to_.empty()) {
    return;
  }
  front_input_entry_ = front_input_entry;
  current_ = std::move(current);
  output_event_queue_ = std::move(output_event_queue);
  enqueue_to_dispatcher([this, generation = generation_] { fire(generation); }, when_now() + threshold);
}

void to_if_held_down::fire(std::int32_t generation) {
  if (generation != generation_ || !front_input_entry_) {
    return;
  }
  const auto output = output_event_queue_.lock();
  const auto current = current_.lock();
  if (!output || !current) {
    return;
  }

  const auto& front = *front_input_entry_;
  zunto::osx::chrono::absolute_time_duration delay;
  event_sender::post_events_at_key_up(front, *current, delay, *output);
  event_sender::post_from_mandatory_modifiers_key_down(front, *current, delay, *output);
  event_sender::post_from_mandatory_modifiers_key_up(front, *current, delay, *output);
  event_sender::post_events_at_key_down(front, *current, to_, delay, *output);
  const auto last = to_.back().get_event_definition().find<momentary_switch_event>();
  if (last == nullptr || !last->make_modifier_flag()) {
    event_sender::post_from_mandatory_modifiers_key_down(front, *current, delay, *output);
  }

  hbd_notification_center::get_instance().enqueue_input_event_arrived(*this);
}

} // namespace hbd::manipulator::manipulators::basic
