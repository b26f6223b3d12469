#include "hbd/event_queue/queue.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hbd::event_origin;
using hbd::event_type;
using hbd::modifier_flag;
using hbd::momentary_switch_event;
using hbd::event_queue::event;
using hbd::event_queue::event_time_stamp;
using hbd::event_queue::queue;
using record = hbd::modifier_flag_manager::active_modifier_flag;
using device = zunto::osx::iokit_registry_entry_id::value_t;
using time_point = zunto::osx::chrono::absolute_time_point;
using duration = zunto::osx::chrono::absolute_time_duration;

const momentary_switch_event key_a(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{4});
const momentary_switch_event left_shift(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{225});
const momentary_switch_event button1(zunto::hid::usage_page::button, zunto::hid::usage::value_t{1});

void append(queue& q, const event& e, event_type type, std::int64_t time = 100, device id = device{1},
            event_origin origin = event_origin::grabbed_device, hbd::validity validity = hbd::validity::valid) {
  q.emplace_back_entry(id, event_time_stamp(time_point(time)), e, type, e, origin, hbd::event_queue::state::original,
                       false, validity);
}

void append(queue& q, const momentary_switch_event& key, event_type type, std::int64_t time = 100,
            device id = device{1}, event_origin origin = event_origin::grabbed_device,
            hbd::validity validity = hbd::validity::valid) {
  append(q, event(key), type, time, id, origin, validity);
}

// "a↓" style names of the queued keys, in queue order.
std::vector<std::string> order(const queue& q) {
  std::vector<std::string> names;
  for (const auto& e : q.get_entries()) {
    const auto key = e.get_event().get_momentary_switch_event();
    std::string name = !key ? "?" : *key == key_a ? "a" : *key == left_shift ? "shift" : "other";
    names.push_back(name + (e.get_event_type() == event_type::key_down ? " down" : " up"));
  }
  return names;
}

TEST(event_queue, modifier_presses_move_ahead_and_releases_behind_within_one_time_stamp) {
  struct step {
    momentary_switch_event key;
    event_type type;
    std::int64_t time;
  };
  struct row {
    std::vector<step> steps;
    std::vector<std::string> expected;
  };
  const row rows[] = {
      {{{key_a, event_type::key_down, 100}, {left_shift, event_type::key_down, 100}}, {"shift down", "a down"}},
      {{{left_shift, event_type::key_up, 100}, {key_a, event_type::key_down, 100}}, {"a down", "shift up"}},
      {{{key_a, event_type::key_down, 100}, {left_shift, event_type::key_up, 100}}, {"a down", "shift up"}},
      {{{key_a, event_type::key_down, 100}, {left_shift, event_type::key_down, 200}}, {"a down", "shift down"}},
      {{{left_shift, event_type::key_up, 100}, {key_a, event_type::key_down, 200}}, {"shift up", "a down"}},
      {{{key_a, event_type::key_down, 100}, {key_a, event_type::key_up, 100}, {left_shift, event_type::key_down, 100}},
       {"shift down", "a down", "a up"}},
  };
  for (const auto& r : rows) {
    queue q;
    for (const auto& s : r.steps) {
      append(q, s.key, s.type, s.time);
    }
    EXPECT_EQ(order(q), r.expected);
  }
}

TEST(event_queue, the_time_stamp_delay_moves_new_entries_only) {
  queue q(duration(5));
  append(q, key_a, event_type::key_down, 100);
  q.increase_time_stamp_delay(duration(10));
  append(q, key_a, event_type::key_up, 100);
  EXPECT_EQ(q.get_time_stamp_delay(), duration(15));
  EXPECT_EQ(q.get_entries()[0].get_event_time_stamp().get_time_stamp(), time_point(105));
  EXPECT_EQ(q.get_entries()[1].get_event_time_stamp().get_time_stamp(), time_point(115));

  // push_back_entry carries state, lazy and validity over.
  hbd::event_queue::entry copy = q.get_front_entry();
  copy.set_lazy(true);
  copy.set_validity(hbd::validity::invalid);
  q.erase_front_entry();
  q.push_back_entry(copy);
  EXPECT_TRUE(q.get_entries().back().get_lazy());
  EXPECT_EQ(q.get_entries().back().get_validity(), hbd::validity::invalid);
  EXPECT_EQ(q.get_entries().back().get_event_time_stamp().get_time_stamp(), time_point(120));
}

TEST(event_queue, held_modifiers) {
  queue q;
  const auto& flags = q.get_modifier_flag_manager();
  append(q, left_shift, event_type::key_down);
  EXPECT_TRUE(flags.is_pressed(modifier_flag::left_shift));
  append(q, left_shift, event_type::key_up);
  EXPECT_FALSE(flags.is_pressed(modifier_flag::left_shift));
  EXPECT_TRUE(flags.get_active_modifier_flags().empty());

  // Only grabbed devices count.
  append(q, left_shift, event_type::key_down, 100, device{1}, event_origin::observed_device);
  EXPECT_TRUE(flags.get_active_modifier_flags().empty());

  // Two devices hold the key; one lets go.
  append(q, left_shift, event_type::key_down, 100, device{1});
  append(q, left_shift, event_type::key_down, 100, device{2});
  append(q, left_shift, event_type::key_up, 100, device{1});
  EXPECT_TRUE(flags.is_pressed(modifier_flag::left_shift));
}

TEST(event_queue, an_unpaired_decrease_stays_until_paired) {
  queue q;
  const auto& flags = q.get_modifier_flag_manager();
  append(q, left_shift, event_type::key_up);
  EXPECT_EQ(flags.get_active_modifier_flags().size(), 1u);
  append(q, left_shift, event_type::key_down);
  EXPECT_FALSE(flags.is_pressed(modifier_flag::left_shift));
  append(q, left_shift, event_type::key_down);
  EXPECT_TRUE(flags.is_pressed(modifier_flag::left_shift));
}

TEST(event_queue, caps_lock_state_and_sticky_modifiers) {
  queue q;
  const auto& flags = q.get_modifier_flag_manager();
  append(q, event::make_caps_lock_state_changed_event(1), event_type::single);
  append(q, event::make_caps_lock_state_changed_event(1), event_type::single);
  EXPECT_EQ(flags.get_active_modifier_flags(),
            std::vector<record>{record(record::type::increase_led_lock, modifier_flag::caps_lock, device{0})});
  EXPECT_TRUE(flags.is_pressed(modifier_flag::caps_lock));

  // A sticky record takes precedence over the caps lock state.
  append(q, event::make_sticky_modifier_event(modifier_flag::caps_lock, hbd::sticky_modifier_type::off),
         event_type::key_down);
  EXPECT_FALSE(flags.is_pressed(modifier_flag::caps_lock));

  append(q, event::make_caps_lock_state_changed_event(0), event_type::single);
  EXPECT_EQ(flags.get_active_modifier_flags(),
            std::vector<record>{record(record::type::decrease_sticky, modifier_flag::caps_lock, device{1})});

  // Toggle twice: on, then off, which pairs with the first.
  queue toggled;
  const auto toggle = event::make_sticky_modifier_event(modifier_flag::left_command, hbd::sticky_modifier_type::toggle);
  append(toggled, toggle, event_type::key_down);
  EXPECT_TRUE(toggled.get_modifier_flag_manager().is_pressed(modifier_flag::left_command));
  append(toggled, toggle, event_type::single);
  EXPECT_TRUE(toggled.get_modifier_flag_manager().get_active_modifier_flags().empty());
  // A key-up of a sticky event does nothing.
  append(toggled, toggle, event_type::key_up);
  EXPECT_TRUE(toggled.get_modifier_flag_manager().get_active_modifier_flags().empty());
}

TEST(event_queue, a_valid_key_press_ends_sticky_modifiers) {
  struct row {
    momentary_switch_event key;
    event_type type;
    hbd::validity validity;
    bool erased;
  };
  const row rows[] = {
      {key_a, event_type::key_down, hbd::validity::valid, true},
      {key_a, event_type::key_down, hbd::validity::invalid, false},
      {key_a, event_type::key_up, hbd::validity::valid, false},
      {left_shift, event_type::key_down, hbd::validity::valid, false},
  };
  for (const auto& r : rows) {
    queue q;
    append(q, event::make_sticky_modifier_event(modifier_flag::left_option, hbd::sticky_modifier_type::on),
           event_type::key_down);
    // Whatever the origin.
    append(q, r.key, r.type, 100, device{3}, event_origin::observed_device, r.validity);
    EXPECT_EQ(q.get_modifier_flag_manager().is_pressed(modifier_flag::left_option), !r.erased);
  }
}

TEST(event_queue, pointing_buttons) {
  queue q;
  const auto& buttons = q.get_pointing_button_manager();
  append(q, button1, event_type::key_down, 100, device{1});
  append(q, button1, event_type::key_down, 100, device{2});
  EXPECT_EQ(buttons.get_active_pointing_buttons().size(), 2u);
  append(q, button1, event_type::key_up, 100, device{3});
  EXPECT_TRUE(buttons.get_active_pointing_buttons().empty());

  append(q, momentary_switch_event(zunto::hid::usage_page::button, zunto::hid::usage::value_t{0}),
         event_type::key_down);
  EXPECT_TRUE(buttons.get_active_pointing_buttons().empty());
}

TEST(event_queue, environment_events) {
  queue q;
  const auto& environment = q.get_manipulator_environment();
  hbd::manipulator_environment_variable_set_variable set_variable{"mode", 1, 0};
  append(q, event::make_set_variable_event(set_variable), event_type::single);
  EXPECT_EQ(environment.get_variable("mode"), hbd::manipulator_environment_variable_value(0));
  append(q, event::make_set_variable_event(set_variable), event_type::key_down);
  EXPECT_EQ(environment.get_variable("mode"), hbd::manipulator_environment_variable_value(1));
  append(q, event::make_set_variable_event(set_variable), event_type::key_up);
  EXPECT_EQ(environment.get_variable("mode"), hbd::manipulator_environment_variable_value(0));

  append(q, event::make_frontmost_application_changed_event({"com.example.a", std::nullopt}), event_type::single);
  EXPECT_EQ(environment.get_frontmost_application().get_bundle_identifier(), "com.example.a");

  zunto::osx::input_source::properties input_source;
  input_source.first_language = "fr";
  append(q, event::make_input_source_changed_event(input_source), event_type::single);
  EXPECT_EQ(environment.get_input_source_properties(), input_source);

  append(q, event::make_device_grabbed_event(hbd::device_properties(device{7}, nullptr)), event_type::single, 100,
         device{7});
  EXPECT_NE(environment.get_device_properties_manager().find(device{7}), nullptr);
  append(q, event::make_device_ungrabbed_event(), event_type::single, 100, device{7});
  EXPECT_EQ(environment.get_device_properties_manager().find(device{7}), nullptr);

  append(q, event::make_virtual_hid_devices_state_changed_event({true, false}), event_type::single);
  EXPECT_TRUE(environment.get_virtual_hid_devices_state().virtual_hid_keyboard_ready);

  zunto::osx::system_preferences::properties preferences;
  preferences.set_use_fkeys_as_standard_function_keys(true);
  append(q, event::make_system_preferences_properties_changed_event(preferences), event_type::single);
  EXPECT_EQ(environment.get_system_preferences_properties(), preferences);
}

TEST(event_queue, accessors_need_the_kind_and_the_value) {
  const event mismatched(event::type::set_variable, hbd::notification_message{"id", "text"});
  EXPECT_FALSE(mismatched.get_set_variable().has_value());
  EXPECT_FALSE(event(event::type::caps_lock_state_changed, std::string("1")).get_integer_value().has_value());
  EXPECT_FALSE(event(event::type::shell_command, std::int64_t{1}).get_integer_value().has_value());
  EXPECT_EQ(event::make_caps_lock_state_changed_event(3).get_integer_value(), 3);
  EXPECT_EQ(event(hbd::pointing_motion{1, 2, 3, 4}).get_pointing_motion(), (hbd::pointing_motion{1, 2, 3, 4}));
  EXPECT_EQ(event().get_type(), event::type::none);
  EXPECT_EQ(event::make_shell_command_event("ls").get_type(), event::type::shell_command);
}

} // namespace
