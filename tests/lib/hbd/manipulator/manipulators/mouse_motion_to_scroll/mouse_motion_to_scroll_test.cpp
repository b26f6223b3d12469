#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/mouse_motion_to_scroll.hpp"

#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "support/manipulator_harness.hpp"
#include "support/unmarshal_error_message.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using hbd::manipulator::manipulators::mouse_motion_to_scroll::mouse_motion_to_scroll;
using nlohmann::json;

const hbd::core_configuration::details::complex_modifications_parameters parameters;

void push_motion(hbd_test::manipulator_harness& harness, const hbd::pointing_motion& value) {
  harness.run([&] {
    const hbd::event_queue::event motion(value);
    harness.input_queue()->emplace_back_entry(zunto::osx::iokit_registry_entry_id::value_t{1}, {}, motion,
                                              hbd::event_type::single, motion, hbd::event_origin::grabbed_device,
                                              hbd::event_queue::state::original);
  });
}

class mouse_motion_to_scroll_construction : public testing::TestWithParam<bool> {
protected:
  mouse_motion_to_scroll_construction() {
    if (GetParam()) {
      manager_.emplace();
    }
  }

  std::optional<hbd::dispatcher_utility::scoped_dispatcher_manager> manager_;
};

INSTANTIATE_TEST_SUITE_P(dispatcher, mouse_motion_to_scroll_construction, testing::Bool(),
                         [](const auto& parameter) { return parameter.param ? "running" : "absent"; });

TEST_P(mouse_motion_to_scroll_construction, reads_options_and_reports_errors) {
  const mouse_motion_to_scroll manipulator({{"type", "mouse_motion_to_scroll"},
                                            {"from", {{"modifiers", {{"mandatory", {"fn"}}}}}},
                                            {"options", {{"threshold", 64}}}},
                                           parameters);
  EXPECT_EQ(manipulator.get_options().get_threshold(), 64);

  const std::pair<json, std::string> rows[] = {
      {{{"options", json::array()}}, "`options` error: json must be object, but is `[]`"},
      {{{"options", {{"threshold", "1"}}}}, "`options` error: `threshold` must be number, but is `\"1\"`"},
      {{{"from", {{"key_code", "a"}}}}, R"(`from` error: unknown key `key_code` in `{"key_code":"a"}`)"},
      {{{"from", {{"modifiers", {{"mandatory", {"hyper"}}}}}}},
       "`from.modifiers` error: `mandatory` error: unknown modifier: `hyper`"},
      {{{"from", 1}}, "`from` must be object, but is `1`"},
      {{{"to", json::object()}}, R"(unknown key `to` in `{"to":{}}`)"},
  };
  for (const auto& [input, message] : rows) {
    EXPECT_EQ(hbd_test::unmarshal_error_message([&, &input = input] { mouse_motion_to_scroll m(input, parameters); }),
              message)
        << input.dump();
  }
}

TEST(mouse_motion_to_scroll, wheel_steps_between_the_held_modifiers) {
  hbd_test::manipulator_harness harness;
  harness.set_manipulator(std::make_shared<mouse_motion_to_scroll>(
      json{{"type", "mouse_motion_to_scroll"}, {"from", {{"modifiers", {{"mandatory", {"left_shift"}}}}}}},
      parameters));

  // The shift is held: it passes to the output queue, which tracks it.
  harness.key(225, hbd::event_type::key_down, 0);
  harness.process(0);
  push_motion(harness, {0, 10, 0, 0});
  harness.process(1);
  harness.wait_for(300);
  EXPECT_EQ(harness.output(),
            (std::vector<std::string>{"left_shift down", "left_shift up lazy", "? single", "left_shift down lazy"}));
  harness.run([&] {
    const auto& entries = harness.output_queue()->get_entries();
    EXPECT_EQ(entries[2].get_event().get_pointing_motion(), (hbd::pointing_motion{0, 0, -1, 0}));
  });
}

TEST(mouse_motion_to_scroll, motion_without_the_modifiers_passes) {
  hbd_test::manipulator_harness harness;
  harness.set_manipulator(std::make_shared<mouse_motion_to_scroll>(
      json{{"from", {{"modifiers", {{"mandatory", {"left_shift"}}}}}}}, parameters));
  push_motion(harness, {0, 10, 0, 0});
  harness.process(1);
  harness.wait_for(300);
  EXPECT_EQ(harness.output(), (std::vector<std::string>{"? single"}));
}

} // namespace
