#include "hbd/core_configuration/details/complex_modifications_parameters.hpp"

#include "support/log_capture.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using hbd::core_configuration::details::complex_modifications_parameters;
using nlohmann::json;
using entry = hbd_test::log_capture::entry;

constexpr const char* simultaneous = "basic.simultaneous_threshold_milliseconds";
constexpr const char* alone = "basic.to_if_alone_timeout_milliseconds";
constexpr const char* held_down = "basic.to_if_held_down_threshold_milliseconds";
constexpr const char* delayed = "basic.to_delayed_action_delay_milliseconds";
constexpr const char* speed = "mouse_motion_to_scroll.speed";

std::vector<std::int32_t> values(const complex_modifications_parameters& p) {
  return {p.get_basic_simultaneous_threshold_milliseconds(), p.get_basic_to_if_alone_timeout_milliseconds(),
          p.get_basic_to_if_held_down_threshold_milliseconds(), p.get_basic_to_delayed_action_delay_milliseconds(),
          p.get_mouse_motion_to_scroll_speed()};
}

} // namespace

TEST(complex_modifications_parameters, defaults_and_writing_all_five) {
  const auto expected_json = json{{simultaneous, 50}, {alone, 1000}, {held_down, 500}, {delayed, 500}, {speed, 100}};
  for (const auto& p : {complex_modifications_parameters(), complex_modifications_parameters(json::object())}) {
    EXPECT_EQ(values(p), (std::vector<std::int32_t>{50, 1000, 500, 500, 100}));
    EXPECT_EQ(p.to_json(), expected_json);
  }
}

TEST(complex_modifications_parameters, reads_numbers_and_clamps_with_a_warning) {
  const std::int64_t int32_max = std::numeric_limits<std::int32_t>::max();
  const struct {
    const char* name;
    json value;
    std::int32_t expected;
    std::vector<std::string> warnings;
  } cases[] = {
      {simultaneous, 5000, 1000, {"basic.simultaneous_threshold_milliseconds should be <= 1000."}},
      {speed, 0, 1, {"mouse_motion_to_scroll.speed should be >= 1."}},
      {speed, 20000, 10000, {"mouse_motion_to_scroll.speed should be <= 10000."}},
      {alone, -5, 0, {"basic.to_if_alone_timeout_milliseconds should be >= 0."}},
      {alone, 100000, 100000, {}},
      {delayed, 250.9, 250, {}},
      {delayed, true, 1, {}},
      {held_down, "300", 500, {}},
      {held_down, nullptr, 500, {}},
      {held_down, json::array(), 500, {}},
      // Out of 32-bit range: saturates instead of wrapping or undefined behaviour.
      {alone, 1e300, std::numeric_limits<std::int32_t>::max(), {}},
      {alone, int32_max + 1 + 50, std::numeric_limits<std::int32_t>::max(), {}},
      {alone, std::numeric_limits<std::uint64_t>::max(), std::numeric_limits<std::int32_t>::max(), {}},
      {alone, -1e300, 0, {"basic.to_if_alone_timeout_milliseconds should be >= 0."}},
      {simultaneous, 1e300, 1000, {"basic.simultaneous_threshold_milliseconds should be <= 1000."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = " + c.value.dump());
    hbd_test::log_capture capture;
    complex_modifications_parameters p(json{{c.name, c.value}});
    EXPECT_EQ(p.get_value(c.name), c.expected);
    EXPECT_EQ(capture.texts(), c.warnings);
    for (const auto& e : capture.entries()) {
      EXPECT_EQ(e.level, spdlog::level::warn);
    }
  }
}

TEST(complex_modifications_parameters, a_value_at_a_bound_stays_and_one_past_it_is_clamped) {
  const struct {
    const char* name;
    std::int32_t bound;
    bool lower;
  } bounds[] = {
      {simultaneous, 0, true}, {simultaneous, 1000, false}, {alone, 0, true}, {held_down, 0, true}, {delayed, 0, true},
      {speed, 1, true},        {speed, 10000, false},
  };
  for (const auto& b : bounds) {
    const auto past = b.lower ? b.bound - 1 : b.bound + 1;
    const auto warning =
        std::string(b.name) + (b.lower ? " should be >= " : " should be <= ") + std::to_string(b.bound) + ".";
    for (const auto& [value, warnings] :
         {std::pair{b.bound, std::vector<std::string>{}}, std::pair{past, std::vector<std::string>{warning}}}) {
      SCOPED_TRACE(std::string(b.name) + " = " + std::to_string(value));
      hbd_test::log_capture capture;
      complex_modifications_parameters read(json{{b.name, value}});
      EXPECT_EQ(read.get_value(b.name), b.bound);
      complex_modifications_parameters set;
      set.set_value(b.name, value);
      EXPECT_EQ(set.get_value(b.name), b.bound);
      // Once for the read, once for the set.
      auto twice = warnings;
      twice.insert(twice.end(), warnings.begin(), warnings.end());
      EXPECT_EQ(capture.texts(), twice);
    }
  }
}

TEST(complex_modifications_parameters, keeps_unknown_members_and_writes_over_them) {
  complex_modifications_parameters p(json::parse(R"({"extra": [1, 2], "mouse_motion_to_scroll.speed": 300})"));
  EXPECT_EQ(p.to_json(), json::parse(R"({"extra": [1, 2],
    "basic.simultaneous_threshold_milliseconds": 50, "basic.to_if_alone_timeout_milliseconds": 1000,
    "basic.to_if_held_down_threshold_milliseconds": 500, "basic.to_delayed_action_delay_milliseconds": 500,
    "mouse_motion_to_scroll.speed": 300})"));
}

TEST(complex_modifications_parameters, a_value_that_is_not_an_object_reads_nothing_and_saves_as_an_object) {
  for (const auto& value : {json(5), json(nullptr), json::array({1})}) {
    complex_modifications_parameters p(value);
    EXPECT_EQ(values(p), (std::vector<std::int32_t>{50, 1000, 500, 500, 100}));
    EXPECT_EQ(p.to_json(), complex_modifications_parameters().to_json());
  }
}

TEST(complex_modifications_parameters, get_set_and_update_by_name) {
  complex_modifications_parameters p;
  EXPECT_EQ(p.get_value("basic.unknown"), std::nullopt);

  {
    hbd_test::log_capture capture;
    p.set_value(speed, 20000);
    EXPECT_EQ(p.get_value(speed), 10000);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"mouse_motion_to_scroll.speed should be <= 10000."});
  }

  const auto before = values(p);
  p.set_value("basic.unknown", 5);
  EXPECT_EQ(values(p), before);

  // update merges over the current values and keeps the kept JSON.
  p.update(json{{alone, 300}, {"other", 1}});
  EXPECT_EQ(p.get_value(alone), 300);
  EXPECT_EQ(p.get_value(speed), 10000);
  EXPECT_FALSE(p.to_json().contains("other"));

  auto map = p.make_map();
  EXPECT_EQ(map.size(), 5u);
  map.at(held_down).get() = 42;
  EXPECT_EQ(p.get_value(held_down), 42);
}
