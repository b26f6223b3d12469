// Pointer motion turned into wheel steps, on a dispatcher whose clock only the test moves.

#include "hbd/manipulator/manipulators/mouse_motion_to_scroll/counter.hpp"

#include "support/fake_time_source.hpp"
#include "support/unmarshal_error_message.hpp"
#include "zunto/thread_wait.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <mutex>
#include <vector>

namespace {

namespace scroll = hbd::manipulator::manipulators::mouse_motion_to_scroll;
using nlohmann::json;
using zunto::dispatcher::time_point;

scroll::options make_options(const json& value) {
  scroll::options options;
  options.update(value);
  return options;
}

// A client of the same dispatcher, to fence the test against the counter's jobs.
class fence_client final : public zunto::dispatcher::extra::dispatcher_client {
public:
  using dispatcher_client::dispatcher_client;
  ~fence_client() override { detach_from_dispatcher(); }
  fence_client(const fence_client&) = delete;
  fence_client& operator=(const fence_client&) = delete;
};

class counter_test : public testing::Test {
protected:
  void start(const scroll::options& options = {}) {
    counter_ = std::make_unique<scroll::counter>(dispatcher_, parameters_, options);
    connection_ = counter_->scrolled.connect([this](const hbd::pointing_motion& motion) {
      std::lock_guard lock(mutex_);
      emitted_.push_back(motion);
    });
  }

  ~counter_test() override {
    counter_.reset();
    dispatcher_->terminate();
  }

  // Runs every job due by the clock's current time, with those they queue due at once.
  void run_due() {
    for (int round = 0; round < 2; ++round) {
      auto done = zunto::make_thread_wait();
      fence_.enqueue_to_dispatcher([done] { done->notify(); }, clock_->now());
      done->wait_notice();
    }
  }

  // Moves the clock in timer steps.
  void advance(int milliseconds) {
    for (int passed = 0; passed < milliseconds; passed += 20) {
      clock_->advance(20);
      run_due();
    }
  }

  std::vector<hbd::pointing_motion> emitted() {
    std::lock_guard lock(mutex_);
    return emitted_;
  }

  std::shared_ptr<hbd_test::fake_time_source> clock_ = std::make_shared<hbd_test::fake_time_source>(1000);
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_ = std::make_shared<zunto::dispatcher::dispatcher>(clock_);
  fence_client fence_{dispatcher_};
  hbd::core_configuration::details::complex_modifications_parameters parameters_;
  std::unique_ptr<scroll::counter> counter_;
  nod::connection connection_;
  std::mutex mutex_;
  std::vector<hbd::pointing_motion> emitted_;
};

TEST_F(counter_test, one_small_motion_gives_one_step_once_its_chunk_is_over) {
  start();
  counter_->update({0, 10, 0, 0}, clock_->now());
  run_due();
  advance(100);
  EXPECT_TRUE(emitted().empty());
  advance(20);
  EXPECT_EQ(emitted(), (std::vector<hbd::pointing_motion>{{0, 0, -1, 0}}));
  advance(1000);
  EXPECT_EQ(emitted().size(), 1u);
}

TEST_F(counter_test, a_diagonal_chunk_locks_to_vertical) {
  start();
  counter_->update({10, 10, 0, 0}, clock_->now());
  run_due();
  advance(200);
  EXPECT_EQ(emitted(), (std::vector<hbd::pointing_motion>{{0, 0, -1, 0}}));
}

TEST_F(counter_test, horizontal_motion_scrolls_horizontally) {
  start();
  counter_->update({-30, 5, 0, 0}, clock_->now());
  run_due();
  advance(200);
  EXPECT_EQ(emitted(), (std::vector<hbd::pointing_motion>{{0, 0, 0, -1}}));
}

TEST_F(counter_test, without_momentum_every_whole_threshold_is_a_step_at_once) {
  start(make_options({{"momentum_scroll_enabled", false}}));
  counter_->update({0, 300, 0, 0}, clock_->now());
  run_due();
  advance(2000);
  EXPECT_EQ(emitted(), (std::vector<hbd::pointing_motion>{{0, 0, -2, 0}}));
}

TEST_F(counter_test, momentum_spaces_single_steps_out) {
  start();
  counter_->update({0, -300, 0, 0}, clock_->now());
  run_due();
  advance(120);
  EXPECT_EQ(emitted(), (std::vector<hbd::pointing_motion>{{0, 0, 1, 0}}));
  advance(3000);
  const auto all = emitted();
  EXPECT_GT(all.size(), 1u);
  for (const auto& motion : all) {
    EXPECT_EQ(motion, (hbd::pointing_motion{0, 0, 1, 0}));
  }
}

TEST_F(counter_test, a_reset_stops_all_further_steps) {
  start();
  counter_->update({0, 3000, 0, 0}, clock_->now());
  run_due();
  advance(120);
  ASSERT_EQ(emitted().size(), 1u);
  counter_->async_reset();
  run_due();
  advance(2000);
  EXPECT_EQ(emitted().size(), 1u);
}

TEST(mouse_motion_to_scroll_options, defaults_and_bounds) {
  const scroll::options defaults;
  EXPECT_TRUE(defaults.get_momentum_scroll_enabled());
  EXPECT_EQ(defaults.get_speed_multiplier(), 1.0);
  EXPECT_EQ(defaults.get_recent_time_duration_milliseconds().count(), 100);
  EXPECT_EQ(defaults.get_threshold(), 128);
  EXPECT_EQ(defaults.get_direction_lock_threshold(), 4);
  EXPECT_EQ(defaults.get_scroll_event_interval_milliseconds_threshold().count(), 100);

  EXPECT_EQ(make_options({{"threshold", 0}}).get_threshold(), 128);
  EXPECT_EQ(make_options({{"threshold", -5}}).get_threshold(), 128);
  EXPECT_EQ(make_options({{"threshold", 64.9}}).get_threshold(), 64);
  EXPECT_EQ(make_options({{"speed_multiplier", 0}}).get_speed_multiplier(), 1.0);
  EXPECT_EQ(make_options({{"speed_multiplier", 2.5}}).get_speed_multiplier(), 2.5);
  EXPECT_EQ(make_options({{"direction_lock_threshold", 0}}).get_direction_lock_threshold(), 4);
  EXPECT_EQ(make_options({{"recent_time_duration_milliseconds", -1}}).get_recent_time_duration_milliseconds().count(),
            100);
  EXPECT_EQ(make_options({{"scroll_event_interval_milliseconds_threshold", 50}})
                .get_scroll_event_interval_milliseconds_threshold()
                .count(),
            50);
  EXPECT_EQ(make_options({{"unknown", "ignored"}}).get_threshold(), 128);

  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              make_options({{"threshold", "1"}});
            }),
            "`threshold` must be number, but is `\"1\"`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] {
              make_options({{"momentum_scroll_enabled", 1}});
            }),
            "`momentum_scroll_enabled` must be boolean, but is `1`");
  EXPECT_EQ(hbd_test::unmarshal_error_message([] { make_options(json::array()); }), "json must be object, but is `[]`");
}

} // namespace
