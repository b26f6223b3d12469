#include "hbd/manipulator/manipulators/basic/to_delayed_action.hpp"

#include "hbd/hbd_notification_center.hpp"
#include "hbd/json_reading.hpp"
#include "hbd/manipulator/manipulators/base.hpp"
#include "hbd/manipulator/manipulators/basic/event_sender.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/requires.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::basic {

to_delayed_action::to_delayed_action(const nlohmann::json& json)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {
  try {
    zunto::json::requires_object(json, "json");
    for (const auto& key_item : json.items()) {
      const auto& key = key_item.key();
      const auto& member = key_item.value();
      if (key == "to_if_invoked") {
        to_if_invoked_ = make_to_event_definitions(key, member);
      } else if (key == "to_if_canceled") {
        to_if_canceled_ = make_to_event_definitions(key, member);
      } else {
        json_reading::throw_unknown_key_in(key, json);
      }
    }
  } catch (...) {
    detach_from_dispatcher();
    throw;
  }
}

to_delayed_action::~to_delayed_action() { detach_from_dispatcher(); }

void to_delayed_action::setup(const event_queue::entry& front_input_entry,
                              std::shared_ptr<manipulated_original_event::manipulated_original_event> current,
                              const std::shared_ptr<event_queue::queue>& output_event_queue,
                              std::chrono::milliseconds delay) {
  if (front_input_entry.get_event_type() != event_type::key_down ||
      (to_if_invoked_.empty() && to_if_canceled_.empty())) {
    return;
  }
  ++generation_;
  front_input_entry_ = front_input_entry;
  current_ = std::move(current);
  output_event_queue_ = output_event_queue;
  enqueue_to_dispatcher(
      [this, generation = generation_] {
        if (generation == generation_) {
          post_events(to_if_invoked_);
        }
      },
      when_now() + delay);
}

void to_delayed_action::cancel() {
  ++generation_;
  post_events(to_if_canceled_);
}

void to_delayed_action::post_events(const std::vector<to_event_definition>& to_events) {
  const auto current = std::move(current_);
  current_ = nullptr;
  const auto output = output_event_queue_.lock();
  if (!front_input_entry_ || !current || !output) {
    return;
  }
  const auto& front = *front_input_entry_;
  zunto::osx::chrono::absolute_time_duration delay;
  const auto& modifiers = current->get_from_mandatory_modifiers();
  base::post_lazy_modifier_key_events(modifiers, event_type::key_up, front.get_device_id(),
                                      front.get_event_time_stamp(), delay, front.get_original_event(),
                                      front.get_event_origin(), *output);
  event_sender::post_extra_to_events(front, *current, to_events, delay, *output);
  base::post_lazy_modifier_key_events(modifiers, event_type::key_down, front.get_device_id(),
                                      front.get_event_time_stamp(), delay, front.get_original_event(),
                                      front.get_event_origin(), *output);
  hbd_notification_center::get_instance().enqueue_input_event_arrived(*this);
}

} // namespace hbd::manipulator::manipulators::basic
