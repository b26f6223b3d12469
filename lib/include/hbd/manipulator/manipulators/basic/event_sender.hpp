#pragma once

#include "hbd/event_queue/entry.hpp"
#include "hbd/event_queue/queue.hpp"
#include "hbd/manipulator/manipulators/basic/manipulated_original_event/manipulated_original_event.hpp"
#include "hbd/manipulator/to_event_definition.hpp"
#include "zunto/osx/chrono/absolute_time_duration.hpp"

#include <vector>

// How a basic manipulator posts its output. Every entry gets the front entry's time stamp raised
// by the delay counter, which grows by one unit after each entry.
namespace hbd::manipulator::manipulators::basic::event_sender {

using manipulated_original_event::manipulated_original_event;

// Lifts the held mandatory modifiers of "from" that are not lifted yet.
void post_from_mandatory_modifiers_key_up(const event_queue::entry& front_input_entry,
                                          manipulated_original_event& current,
                                          zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                          event_queue::queue& output_event_queue);

// Presses the lifted mandatory modifiers again.
void post_from_mandatory_modifiers_key_down(const event_queue::entry& front_input_entry,
                                            manipulated_original_event& current,
                                            zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                                            event_queue::queue& output_event_queue);

// The "to" events of a press; the last one's release waits for the key-up when it repeats.
void post_events_at_key_down(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                             std::vector<to_event_definition> to_events,
                             zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                             event_queue::queue& output_event_queue);

// The entries kept for the key-up.
void post_events_at_key_up(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                           zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                           event_queue::queue& output_event_queue);

// Each event pressed and released at once.
void post_extra_to_events(const event_queue::entry& front_input_entry, manipulated_original_event& current,
                          const std::vector<to_event_definition>& to_events,
                          zunto::osx::chrono::absolute_time_duration& time_stamp_delay,
                          event_queue::queue& output_event_queue);

} // namespace hbd::manipulator::manipulators::basic::event_sender
