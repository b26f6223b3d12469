#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/mouse_motion_to_scroll.hpp"

#include "hbd/hbd_notification_center.hpp"
#include "hbd/json_reading.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"
#include "zunto/osx/chrono/conversion.hpp"

#include <nlohmann/json.hpp>

namespace hbd::manipulator::manipulators::mouse_motion_to_scroll {

mouse_motion_to_scroll::mouse_motion_to_scroll(
    const nlohmann::json& json, const core_configuration::details::complex_modifications_parameters& parameters)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {
  try {
    zunto::json::requires_object(json, "json");
    for (const auto& key_item : json.items()) {
      const auto& key = key_item.key();
      const auto& value = key_item.value();
      if (key == "from") {
        zunto::json::requires_object(value, "`from`");
        for (const auto& from_key_item : value.items()) {
          const auto& from_key = from_key_item.key();
          const auto& from_value = from_key_item.value();
          if (from_key == "modifiers") {
            try {
              from_json(from_value, from_modifiers_definition_);
            } catch (const zunto::json::unmarshal_error& e) {
              throw zunto::json::unmarshal_error("`from.modifiers` error: " + std::string(e.what()));
            }
          } else {
            try {
              json_reading::throw_unknown_key_in(from_key, value);
            } catch (const zunto::json::unmarshal_error& e) {
              throw zunto::json::unmarshal_error("`from` error: " + std::string(e.what()));
            }
          }
        }
      } else if (key == "options") {
        json_reading::wrap_error(key, [&] { options_.update(value); });
      } else if (key != "conditions" && key != "parameters" && key != "type" && key != "description") {
        json_reading::throw_unknown_key_in(key, json);
      }
    }
    counter_ = std::make_unique<counter>(weak_dispatcher_, parameters, options_);
    counter_->scrolled.connect([this](const pointing_motion& motion) { post_events(motion); });
  } catch (...) {
    // The counter's jobs run on the dispatcher thread; it goes there too.
    detach_from_dispatcher([this] { counter_ = nullptr; });
    throw;
  }
}

mouse_motion_to_scroll::~mouse_motion_to_scroll() {
  detach_from_dispatcher([this] { counter_ = nullptr; });
}

std::shared_ptr<std::set<modifier_flag>> mouse_motion_to_scroll::test_conditions(
    const event_queue::entry& entry, const std::shared_ptr<event_queue::queue>& output_event_queue) const {
  if (!fulfill_conditions(entry, output_event_queue->get_manipulator_environment())) {
    return nullptr;
  }
  return from_modifiers_definition_.test_modifiers(output_event_queue->get_modifier_flag_manager());
}

manipulate_result mouse_motion_to_scroll::manipulate(event_queue::entry& front_input_entry, const event_queue::queue&,
                                                     const std::shared_ptr<event_queue::queue>& output_event_queue,
                                                     zunto::osx::chrono::absolute_time_point) {
  if (!output_event_queue || !front_input_entry.get_valid() || get_validity() == validity::invalid) {
    return manipulate_result::passed;
  }
  auto modifiers = test_conditions(front_input_entry, output_event_queue);
  if (!modifiers) {
    counter_->async_reset();
    return manipulate_result::passed;
  }
  const auto motion = front_input_entry.get_event().get_pointing_motion();
  if (!motion) {
    return manipulate_result::passed;
  }
  front_input_entry.set_validity(validity::invalid);
  counter_->update(*motion, when_now());
  from_mandatory_modifiers_ = std::move(modifiers);
  device_id_ = front_input_entry.get_device_id();
  original_event_ = front_input_entry.get_original_event();
  output_event_queue_ = output_event_queue;
  return manipulate_result::manipulated;
}

void mouse_motion_to_scroll::post_events(const pointing_motion& motion) {
  const auto output = output_event_queue_.lock();
  if (!output) {
    return;
  }
  const event_queue::event_time_stamp time_stamp(zunto::osx::chrono::now());
  zunto::osx::chrono::absolute_time_duration delay;
  if (from_mandatory_modifiers_) {
    post_lazy_modifier_key_events(*from_mandatory_modifiers_, event_type::key_up, device_id_, time_stamp, delay,
                                  original_event_, event_origin::grabbed_device, *output);
  }
  event_queue::event_time_stamp stamp(time_stamp);
  stamp.set_time_stamp(stamp.get_time_stamp() + delay);
  delay += zunto::osx::chrono::absolute_time_duration(1);
  output->emplace_back_entry(device_id_, stamp, event_queue::event(motion), event_type::single, original_event_,
                             event_origin::grabbed_device, event_queue::state::manipulated);
  if (from_mandatory_modifiers_) {
    post_lazy_modifier_key_events(*from_mandatory_modifiers_, event_type::key_down, device_id_, time_stamp, delay,
                                  original_event_, event_origin::grabbed_device, *output);
  }
  hbd_notification_center::get_instance().enqueue_input_event_arrived(*this);
}

} // namespace hbd::manipulator::manipulators::mouse_motion_to_scroll
