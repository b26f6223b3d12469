#include "libhbd.h"
#include "support/datagram_peer.hpp"
#include "support/event_log.hpp"
#include "support/hex.hpp"
#include "support/log_capture.hpp"
#include "support/process_counts.hpp"

#include "hbd/constants.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using hbd_test::datagram_peer;

// The grabber-client callbacks carry no context.
hbd_test::event_log* events = nullptr;

void connected_callback() { events->push("connected"); }
void connect_failed_callback() { events->push("connect_failed"); }
void closed_callback() { events->push("closed"); }

std::string grabber_socket(const char* name) {
  return (hbd::constants::get_grabber_socket_directory_path() / name).string();
}

std::string message(const nlohmann::json& json) { return "01" + hbd_test::to_hex(nlohmann::json::to_msgpack(json)); }

// Runs `function` on a thread of its own and tells whether it finished within the watchdog time.
bool finishes_in_time(const std::function<void()>& function, std::chrono::seconds watchdog = 20s) {
  auto done = std::async(std::launch::async, function);
  return done.wait_for(watchdog) == std::future_status::ready;
}

class libhbd_grabber_client_test : public testing::Test {
protected:
  void SetUp() override {
    events = &events_;
    std::filesystem::create_directories(hbd::constants::get_grabber_socket_directory_path());
    libhbd_initialize();
  }

  void TearDown() override {
    libhbd_terminate();
    events = nullptr;
  }

  void enable() { libhbd_enable_grabber_client(connected_callback, connect_failed_callback, closed_callback); }

  std::vector<std::string> user_data(const datagram_peer& peer) const {
    std::vector<std::string> result;
    for (const auto& d : peer.datagrams_of_type(1)) {
      result.push_back(hbd_test::to_hex(d.bytes));
    }
    return result;
  }

  hbd_test::log_capture log_;
  hbd_test::event_log events_;
};

TEST_F(libhbd_grabber_client_test, sends_each_request_as_one_messagepack_datagram) {
  datagram_peer peer(grabber_socket("grabber.sock"));
  enable();
  ASSERT_TRUE(events_.wait_for("connected"));

  libhbd_grabber_client_async_set_app_icon(3);
  libhbd_grabber_client_async_set_keyboard_type(45, 41);
  libhbd_grabber_client_async_set_variable(nullptr, 1);
  libhbd_grabber_client_async_set_variable("mode", -5);
  libhbd_grabber_client_sync_set_variable(nullptr, 2);
  libhbd_grabber_client_sync_set_variable("vim", 7);
  ASSERT_TRUE(peer.wait_for_type(1, 4));

  const std::vector<std::string> expected = {
      // {"number": 3, "operation_type": "set_app_icon"}, keys in byte order
      "0182a66e756d62657203ae6f7065726174696f6e5f74797065ac7365745f6170705f69636f6e",
      message({{"country_code", 45}, {"keyboard_type", 41}, {"operation_type", "set_keyboard_type"}}),
      message({{"operation_type", "set_variables"}, {"variables", {{"mode", -5}}}}),
      message({{"operation_type", "set_variables"}, {"variables", {{"vim", 7}}}}),
  };
  EXPECT_EQ(user_data(peer), expected);

  libhbd_disable_grabber_client();
  const std::vector<std::string> expected_log = {
      "libhbd_initialize",          "libhbd_grabber_client",
      "grabber_client is started.", "grabber_client is connected.",
      "~libhbd_grabber_client",     "grabber_client is stopped.",
  };
  EXPECT_EQ(log_.texts(), expected_log);
}

TEST_F(libhbd_grabber_client_test, follows_the_grabber_appearing_moving_and_vanishing) {
  // Null callbacks are skipped; the others still come.
  libhbd_enable_grabber_client(nullptr, connect_failed_callback, closed_callback);
  ASSERT_TRUE(events_.wait_for("connect_failed"));
  EXPECT_TRUE(log_.wait_for_text("grabber_client connect_failed: No such file or directory", 5s));

  auto peer = std::make_unique<datagram_peer>(grabber_socket("1.sock"));
  ASSERT_TRUE(log_.wait_for_text("grabber_client is connected.", 10s));

  // A request made before the move reaches the grabber under its new name.
  ASSERT_TRUE(peer->command("move " + grabber_socket("2.sock")));
  ASSERT_TRUE(events_.wait_for("closed"));
  libhbd_grabber_client_async_set_app_icon(1);
  ASSERT_TRUE(peer->wait_for_type(1, 1));

  peer = nullptr;
  ASSERT_TRUE(events_.wait_for_count("closed", 2));
  ASSERT_TRUE(events_.wait_for_count("connect_failed", events_.count("connect_failed") + 1));
}

TEST_F(libhbd_grabber_client_test, sync_set_variable_never_waits_for_ever) {
  // The grabber is unreachable: the wait ends after its bound.
  enable();
  ASSERT_TRUE(events_.wait_for("connect_failed"));
  EXPECT_TRUE(finishes_in_time([] { libhbd_grabber_client_sync_set_variable("a", 1); }));
  EXPECT_TRUE(log_.wait_for_text("libhbd_grabber_client_sync_set_variable: a was not sent in time", 1s));

  // Disabling the member releases a waiter at once, long before the bound.
  log_.clear();
  auto waiting = std::async(std::launch::async, [] { libhbd_grabber_client_sync_set_variable("b", 2); });
  std::this_thread::sleep_for(100ms);
  libhbd_disable_grabber_client();
  EXPECT_EQ(waiting.wait_for(2500ms), std::future_status::ready);
  waiting.wait();
  for (const auto& text : log_.texts()) {
    EXPECT_EQ(text.find("not sent in time"), std::string::npos) << text;
  }

  // So does terminate.
  enable();
  waiting = std::async(std::launch::async, [] { libhbd_grabber_client_sync_set_variable("c", 3); });
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(finishes_in_time([] { libhbd_terminate(); }));
  EXPECT_EQ(waiting.wait_for(2500ms), std::future_status::ready);
  waiting.wait();
  libhbd_initialize();
}

void sync_set_variable_from_callback() {
  libhbd_grabber_client_sync_set_variable("inside", 1);
  events->push("returned");
}

void disable_from_callback() {
  libhbd_disable_grabber_client();
  events->push("disabled");
}

TEST_F(libhbd_grabber_client_test, a_callback_may_disable_the_grabber_client) {
  libhbd_enable_grabber_client(nullptr, disable_from_callback, nullptr);
  ASSERT_TRUE(events_.wait_for("disabled"));
  ASSERT_TRUE(log_.wait_for_text("grabber_client is stopped.", 5s));
  // Gone for good: no further attempt reports a failure.
  libhbd_grabber_client_sync_set_variable("after", 1);
  EXPECT_EQ(events_.count("disabled"), 1u);
}

TEST_F(libhbd_grabber_client_test, sync_set_variable_is_refused_on_the_dispatcher_thread) {
  libhbd_enable_grabber_client(nullptr, sync_set_variable_from_callback, nullptr);
  ASSERT_TRUE(events_.wait_for("returned"));
  EXPECT_TRUE(log_.wait_for_text("libhbd_grabber_client_sync_set_variable is refused on the dispatcher thread", 1s));
}

TEST_F(libhbd_grabber_client_test, disable_and_terminate_finish_while_heartbeats_flow_and_leave_nothing_behind) {
  datagram_peer peer(grabber_socket("grabber.sock"));
  const auto descriptors = hbd_test::descriptor_count();
  const auto threads = hbd_test::thread_count();

  for (std::size_t cycle = 1; cycle <= 5; ++cycle) {
    enable();
    ASSERT_TRUE(events_.wait_for_count("connected", cycle));
    // The first heartbeat goes out right after connecting.
    ASSERT_TRUE(peer.wait_for_type(0, cycle));
    libhbd_grabber_client_async_set_variable("cycle", static_cast<int32_t>(cycle));
    ASSERT_TRUE(finishes_in_time([] { libhbd_disable_grabber_client(); })) << cycle;
  }
  EXPECT_EQ(hbd_test::descriptor_count(), descriptors);
  EXPECT_EQ(hbd_test::thread_count_down_to(threads), threads);

  enable();
  ASSERT_TRUE(events_.wait_for_count("connected", 6));
  ASSERT_TRUE(finishes_in_time([] { libhbd_terminate(); }));
  libhbd_initialize();
  EXPECT_EQ(events_.count("closed"), 0u);
}

TEST(libhbd_grabber_client_uninitialized, entry_points_do_nothing_without_a_component_manager) {
  hbd_test::log_capture log;
  libhbd_enable_grabber_client(nullptr, nullptr, nullptr);
  libhbd_grabber_client_async_set_app_icon(1);
  libhbd_grabber_client_async_set_keyboard_type(1, 2);
  libhbd_grabber_client_async_set_variable("a", 1);
  libhbd_grabber_client_sync_set_variable("a", 1);
  libhbd_disable_grabber_client();
  EXPECT_TRUE(log.texts().empty());
}

} // namespace

namespace {

TEST_F(libhbd_grabber_client_test, terminate_destroys_the_session_members_from_the_last_slot_down) {
  // A grabber to connect to: without one, a failed attempt (and each retry) could log in between.
  datagram_peer peer(grabber_socket("grabber.sock"));
  libhbd_enable_log_monitor(nullptr, nullptr);
  libhbd_enable_observer_state_json_file_monitor(nullptr, nullptr);
  libhbd_enable_grabber_client(nullptr, nullptr, nullptr);
  libhbd_enable_frontmost_application_monitor(nullptr, nullptr);
  ASSERT_TRUE(log_.wait_for_text("grabber_client is connected.", 10s));
  log_.clear();
  libhbd_terminate();
  EXPECT_EQ(log_.texts(), (std::vector<std::string>{"libhbd_terminate", "~libhbd_grabber_client",
                                                    "grabber_client is stopped.", "~libhbd_log_monitor",
                                                    "~libhbd_frontmost_application_monitor", "~libhbd_file_monitor"}));
  libhbd_initialize();
}

} // namespace
