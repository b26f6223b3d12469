#include "hbd/manipulator/manipulators/mouse_basic/mouse_basic.hpp"

#include "hbd/manipulator/conditions/variable.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <limits>
#include <memory>

namespace {

using hbd::pointing_motion;
using hbd::manipulator::manipulators::mouse_basic::mouse_basic;
using nlohmann::json;

const hbd::core_configuration::details::complex_modifications_parameters parameters;

hbd::event_queue::entry motion_entry(const pointing_motion& motion) {
  const hbd::event_queue::event e(motion);
  return hbd::event_queue::entry(zunto::osx::iokit_registry_entry_id::value_t{1}, hbd::event_queue::event_time_stamp(),
                                 e, hbd::event_type::single, e, hbd::event_origin::grabbed_device,
                                 hbd::event_queue::state::original);
}

TEST(mouse_basic, swaps_then_flips_by_position) {
  struct row {
    json manipulator;
    pointing_motion in;
    pointing_motion out;
  };
  constexpr auto min = std::numeric_limits<std::int32_t>::min();
  constexpr auto max = std::numeric_limits<std::int32_t>::max();
  const row rows[] = {
      {{{"flip", {"x"}}, {"swap", {"xy"}}}, {3, 5, 0, 0}, {-5, 3, 0, 0}},
      {{{"flip", {"vertical_wheel", "horizontal_wheel"}}}, {1, 2, 3, 4}, {1, 2, -3, -4}},
      {{{"swap", {"wheels"}}, {"flip", {"y"}}}, {1, 2, 3, 4}, {1, -2, 4, 3}},
      // The smallest value has no negation and saturates.
      {{{"flip", {"x", "y"}}}, {min, max, 0, 0}, {max, -max, 0, 0}},
  };
  for (const auto& r : rows) {
    mouse_basic manipulator(r.manipulator, parameters);
    auto front = motion_entry(r.in);
    auto output = std::make_shared<hbd::event_queue::queue>();
    hbd::event_queue::queue input;
    ASSERT_EQ(manipulator.make_motion(r.in), r.out) << r.manipulator.dump();
    EXPECT_EQ(manipulator.manipulate(front, input, output, {}), hbd::manipulator::manipulate_result::manipulated);
    EXPECT_EQ(front.get_validity(), hbd::validity::invalid);
    ASSERT_EQ(output->size(), 1u);
    EXPECT_EQ(output->get_front_entry().get_event().get_pointing_motion(), r.out);
    EXPECT_EQ(output->get_front_entry().get_state(), hbd::event_queue::state::manipulated);
  }
}

TEST(mouse_basic, passes_what_it_does_not_change) {
  auto output = std::make_shared<hbd::event_queue::queue>();
  hbd::event_queue::queue input;

  mouse_basic unknown_word({{"flip", {"z"}}, {"description", "nothing"}}, parameters);
  auto front = motion_entry({1, 2, 0, 0});
  EXPECT_EQ(unknown_word.manipulate(front, input, output, {}), hbd::manipulator::manipulate_result::passed);
  EXPECT_EQ(unknown_word.manipulate(front, input, nullptr, {}), hbd::manipulator::manipulate_result::passed);

  mouse_basic flip({{"flip", {"x"}}}, parameters);
  const hbd::event_queue::event key(
      hbd::momentary_switch_event(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{4}));
  hbd::event_queue::entry key_entry(zunto::osx::iokit_registry_entry_id::value_t{1}, {}, key, hbd::event_type::key_down,
                                    key, hbd::event_origin::grabbed_device, hbd::event_queue::state::original);
  EXPECT_EQ(flip.manipulate(key_entry, input, output, {}), hbd::manipulator::manipulate_result::passed);

  // Both conditions are evaluated, even when the first fails.
  flip.push_back_condition(std::make_shared<hbd::manipulator::conditions::variable>(
      json{{"type", "variable_if"}, {"name", "a"}, {"value", 1}}));
  flip.push_back_condition(std::make_shared<hbd::manipulator::conditions::variable>(
      json{{"type", "variable_if"}, {"name", "b"}, {"value", 0}}));
  EXPECT_EQ(flip.manipulate(front, input, output, {}), hbd::manipulator::manipulate_result::passed);
  output->get_manipulator_environment().set_variable("a", 1);
  EXPECT_EQ(flip.manipulate(front, input, output, {}), hbd::manipulator::manipulate_result::manipulated);
  EXPECT_EQ(flip.manipulate(front, input, output, {}), hbd::manipulator::manipulate_result::passed);
  EXPECT_EQ(output->size(), 1u);
}

TEST(mouse_basic, reading_errors) {
  const auto error_of = [](const json& value) {
    return hbd_test::unmarshal_error_message([&] { mouse_basic m(value, parameters); });
  };
  EXPECT_EQ(error_of({{"flip", "x"}}), "`flip` must be array, but is `\"x\"`");
  EXPECT_EQ(error_of({{"swap", {1}}}), "items in `swap` must be string, but is `1`");
  EXPECT_EQ(error_of({{"flop", {"x"}}}), R"(unknown key `flop` in `{"flop":["x"]}`)");
  EXPECT_EQ(error_of(1), "json must be object, but is `1`");
}

} // namespace
