// Scripted input queues through a basic manipulator, checked against the output entries.

#include "hbd/manipulator/manipulators/basic/basic.hpp"

#include "support/manipulator_harness.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

using hbd::event_type;
using hbd::manipulator::manipulate_result;
using hbd::manipulator::manipulators::basic::basic;
using lines = std::vector<std::string>;
using nlohmann::json;

constexpr std::int32_t a = 4;
constexpr std::int32_t b = 5;
constexpr std::int32_t c = 6;
constexpr std::int32_t left_shift = 225;

// One harness at a time: each holds the library's dispatchers.
class basic_test : public testing::Test {
protected:
  std::unique_ptr<hbd_test::manipulator_harness> make(const json& manipulator) {
    auto harness = std::make_unique<hbd_test::manipulator_harness>();
    harness->set_manipulator(std::make_shared<basic>(manipulator, parameters_));
    return harness;
  }

  hbd::core_configuration::details::complex_modifications_parameters parameters_;
};

const json simultaneous_ab = {{"simultaneous", {{{"key_code", "a"}}, {{"key_code", "b"}}}}};

TEST_F(basic_test, simultaneous_keys_inside_and_outside_the_threshold) {
  parameters_.set_value("basic.simultaneous_threshold_milliseconds", 50);
  auto harness = make({{"from", simultaneous_ab}, {"to", {{"key_code", "c"}}}});
  harness->key(a, event_type::key_down, 0);
  harness->key(b, event_type::key_down, 30);
  harness->process(100);
  EXPECT_EQ(harness->output(), (lines{"c down"}));

  // key_up_when any: the first release ends it, the second posts nothing more.
  harness->key(a, event_type::key_up, 200);
  harness->key(b, event_type::key_up, 210);
  harness->process(300);
  EXPECT_EQ(harness->output(), (lines{"c down", "c up"}));
}

TEST_F(basic_test, a_key_outside_the_threshold_passes) {
  parameters_.set_value("basic.simultaneous_threshold_milliseconds", 50);
  auto harness = make({{"from", simultaneous_ab}, {"to", {{"key_code", "c"}}}});
  harness->key(a, event_type::key_down, 0);
  harness->key(b, event_type::key_down, 80);
  harness->process(200);
  EXPECT_EQ(harness->output(), (lines{"a down", "b down"}));
}

TEST_F(basic_test, waits_inside_the_threshold_then_passes) {
  parameters_.set_value("basic.simultaneous_threshold_milliseconds", 50);
  auto harness = make({{"from", simultaneous_ab}, {"to", {{"key_code", "c"}}}});
  harness->key(a, event_type::key_down, 0);
  EXPECT_EQ(harness->process(10), manipulate_result::wait);
  EXPECT_EQ(harness->output(), (lines{"wait single lazy"}));
  EXPECT_EQ(harness->process(100), manipulate_result::passed);
  EXPECT_EQ(harness->output(), (lines{"wait single lazy", "a down"}));
}

TEST_F(basic_test, key_order_and_interruptions) {
  struct row {
    json options;
    std::vector<std::int32_t> keys;
    lines expected;
  };
  const row rows[] = {
      {{{"key_down_order", "strict"}}, {b, a}, {"b down", "a down"}},
      {{{"key_down_order", "strict"}}, {a, b}, {"c down"}},
      {{{"key_down_order", "strict_inverse"}}, {b, a}, {"c down"}},
      {json::object(), {a, c, b}, {"a down", "c down", "b down"}},
      {{{"detect_key_down_uninterruptedly", true}}, {a, c, b}, {"c down", "c down"}},
  };
  for (const auto& r : rows) {
    json from = simultaneous_ab;
    from["simultaneous_options"] = r.options;
    auto harness = make({{"from", from}, {"to", {{"key_code", "c"}}}});
    std::int64_t time = 0;
    for (const auto key : r.keys) {
      harness->key(key, event_type::key_down, time += 5);
    }
    harness->process(1000);
    EXPECT_EQ(harness->output(), r.expected) << r.options.dump();
  }
}

TEST_F(basic_test, key_up_when_all_posts_at_the_last_release) {
  json from = simultaneous_ab;
  from["simultaneous_options"] = {{"key_up_when", "all"}, {"to_after_key_up", {{"key_code", "escape"}}}};
  auto harness = make({{"from", from}, {"to", {{"key_code", "c"}}}});
  harness->key(a, event_type::key_down, 0);
  harness->key(b, event_type::key_down, 10);
  harness->process(1000);
  harness->key(a, event_type::key_up, 1100);
  harness->process(1200);
  EXPECT_EQ(harness->output(), (lines{"c down"}));
  harness->key(b, event_type::key_up, 1300);
  harness->process(1400);
  EXPECT_EQ(harness->output(), (lines{"c down", "c up", "escape down", "escape up"}));
}

TEST_F(basic_test, to_if_alone_needs_a_short_lonely_press) {
  struct row {
    std::int64_t release;
    bool other_key;
    lines expected;
  };
  const row rows[] = {
      {100, false, {"left_shift down", "left_shift up", "escape down", "escape up"}},
      {2000, false, {"left_shift down", "left_shift up"}},
      {100, true, {"left_shift down", "b down", "left_shift up"}},
  };
  for (const auto& r : rows) {
    auto harness = make({{"from", {{"key_code", "a"}}},
                         {"to", {{"key_code", "left_shift"}}},
                         {"to_if_alone", {{"key_code", "escape"}}}});
    harness->key(a, event_type::key_down, 0);
    if (r.other_key) {
      harness->key(b, event_type::key_down, 50);
    }
    harness->key(a, event_type::key_up, r.release);
    harness->process(r.release + 1);
    EXPECT_EQ(harness->output(), r.expected) << r.release << " " << r.other_key;
  }
}

TEST_F(basic_test, mandatory_modifiers_are_lifted_around_the_output) {
  auto harness =
      make({{"from", {{"key_code", "a"}, {"modifiers", {{"mandatory", {"shift"}}}}}}, {"to", {{"key_code", "b"}}}});
  harness->key(left_shift, event_type::key_down, 0);
  harness->process(1);
  // The output queue sees the shift through the passed entry.
  harness->key(a, event_type::key_down, 10);
  harness->process(20);
  EXPECT_EQ(harness->output(), (lines{"left_shift down", "left_shift up lazy", "b down", "left_shift down lazy"}));

  harness.reset();

  // Without the modifier the key passes.
  auto plain =
      make({{"from", {{"key_code", "a"}, {"modifiers", {{"mandatory", {"shift"}}}}}}, {"to", {{"key_code", "b"}}}});
  plain->key(a, event_type::key_down, 10);
  plain->process(20);
  EXPECT_EQ(plain->output(), (lines{"a down"}));
}

TEST_F(basic_test, hold_down_time_and_halt) {
  auto harness =
      make({{"from", {{"key_code", "a"}}},
            {"to", {{{"key_code", "b"}, {"repeat", false}, {"hold_down_milliseconds", 100}, {"halt", true}}}},
            {"to_after_key_up", {{"key_code", "c"}}}});
  harness->key(a, event_type::key_down, 0);
  harness->key(a, event_type::key_up, 500);
  harness->process(600);
  EXPECT_EQ(harness->output(), (lines{"b down", "b up"}));
  harness->run([&] {
    const auto& entries = harness->output_queue()->get_entries();
    const auto held =
        entries[1].get_event_time_stamp().get_time_stamp() - entries[0].get_event_time_stamp().get_time_stamp();
    EXPECT_EQ(held, hbd_test::manipulator_harness::at(100) - hbd_test::manipulator_harness::at(0) +
                        zunto::osx::chrono::absolute_time_duration(1));
  });
}

TEST_F(basic_test, a_lazy_caps_lock_becomes_a_sticky_modifier) {
  auto harness = make({{"from", {{"key_code", "a"}}}, {"to", {{"key_code", "b"}, {"modifiers", {"caps_lock"}}}}});
  harness->key(a, event_type::key_down, 0);
  harness->key(a, event_type::key_up, 10);
  harness->process(20);
  EXPECT_EQ(harness->output(),
            (lines{"sticky caps_lock on single lazy", "b down", "sticky caps_lock off single lazy", "b up"}));
}

TEST_F(basic_test, held_down_fires_after_the_threshold_and_is_disarmed_by_a_release) {
  parameters_.set_value("basic.to_if_held_down_threshold_milliseconds", 50);
  const json manipulator = {
      {"from", {{"key_code", "a"}}}, {"to", {{"key_code", "b"}}}, {"to_if_held_down", {{"key_code", "c"}}}};
  auto harness = make(manipulator);
  harness->key(a, event_type::key_down, 0);
  harness->process(1);
  harness->wait_for(100);
  EXPECT_EQ(harness->output(), (lines{"b down", "b up", "c down"}));
  harness->key(a, event_type::key_up, 200);
  harness->process(201);
  EXPECT_EQ(harness->output(), (lines{"b down", "b up", "c down", "c up"}));

  harness.reset();

  auto released = make(manipulator);
  released->key(a, event_type::key_down, 0);
  released->key(a, event_type::key_up, 10);
  released->process(11);
  released->wait_for(100);
  EXPECT_EQ(released->output(), (lines{"b down", "b up"}));
}

TEST_F(basic_test, delayed_action_is_invoked_or_cancelled_once) {
  parameters_.set_value("basic.to_delayed_action_delay_milliseconds", 50);
  const json manipulator = {
      {"from", {{"key_code", "a"}}},
      {"to_delayed_action", {{"to_if_invoked", {{"key_code", "b"}}}, {"to_if_canceled", {{"key_code", "c"}}}}}};

  // Released before the delay: still invoked.
  auto harness = make(manipulator);
  harness->key(a, event_type::key_down, 0);
  harness->key(a, event_type::key_up, 10);
  harness->process(11);
  harness->wait_for(100);
  EXPECT_EQ(harness->output(), (lines{"b down", "b up"}));

  // Another key within the delay cancels it, once; the timer then posts nothing.
  harness.reset();

  auto cancelled = make(manipulator);
  cancelled->key(a, event_type::key_down, 0);
  cancelled->process(1);
  cancelled->key(b, event_type::key_down, 20);
  cancelled->key(c, event_type::key_down, 30);
  cancelled->process(31);
  cancelled->wait_for(100);
  EXPECT_EQ(cancelled->output(), (lines{"c down", "c up", "b down", "c down"}));
}

TEST_F(basic_test, already_manipulated_and_ungrabbed_devices) {
  auto harness = std::make_unique<hbd_test::manipulator_harness>();
  auto manipulator =
      std::make_shared<basic>(json{{"from", {{"key_code", "a"}}}, {"to", {{"key_code", "b"}}}}, parameters_);
  harness->set_manipulator(manipulator);
  harness->key(a, event_type::key_down, 0);
  harness->run([&] {
    const auto front = harness->input_queue()->get_front_entry();
    EXPECT_FALSE(manipulator->already_manipulated(front));
  });
  harness->process(1);
  harness->run([&] {
    EXPECT_TRUE(manipulator->active());
    const hbd::event_queue::event e(
        hbd::momentary_switch_event(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{a}));
    const hbd::event_queue::entry down(zunto::osx::iokit_registry_entry_id::value_t{1}, {}, e, event_type::key_down, e,
                                       hbd::event_origin::grabbed_device, hbd::event_queue::state::original);
    const hbd::event_queue::entry up(zunto::osx::iokit_registry_entry_id::value_t{1}, {}, e, event_type::key_up, e,
                                     hbd::event_origin::grabbed_device, hbd::event_queue::state::original);
    EXPECT_TRUE(manipulator->already_manipulated(down));
    EXPECT_FALSE(manipulator->already_manipulated(up));
    manipulator->handle_device_ungrabbed_event(zunto::osx::iokit_registry_entry_id::value_t{1},
                                               *harness->output_queue(), {});
    EXPECT_FALSE(manipulator->active());
  });
}

} // namespace

namespace {

// The event path and the timed actions both run on the dispatcher's thread; here a test thread
// feeds keys while held-down and delayed timers keep firing.
TEST_F(basic_test, timed_actions_and_the_event_path_never_race) {
  parameters_.set_value("basic.to_if_held_down_threshold_milliseconds", 1);
  parameters_.set_value("basic.to_delayed_action_delay_milliseconds", 1);
  auto harness =
      make({{"from", {{"key_code", "a"}}},
            {"to", {{"key_code", "b"}}},
            {"to_if_held_down", {{"key_code", "c"}}},
            {"to_delayed_action", {{"to_if_invoked", {{"key_code", "d"}}}, {"to_if_canceled", {{"key_code", "e"}}}}}});
  for (int i = 0; i < 200; ++i) {
    harness->key(a, event_type::key_down, i * 10);
    harness->process(i * 10);
    harness->key(a, event_type::key_up, i * 10 + 5);
    harness->process(i * 10 + 5);
  }
  harness->wait_for(10);
  const auto output = harness->output();
  EXPECT_GE(output.size(), 400u);
  EXPECT_EQ(output.front(), "b down");
}

} // namespace
