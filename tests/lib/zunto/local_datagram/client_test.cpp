#include "zunto/local_datagram/client.hpp"

#include "support/datagram_peer.hpp"
#include "support/event_log.hpp"
#include "support/hex.hpp"
#include "support/process_counts.hpp"
#include "support/temporary_directory.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"

#include <asio/error.hpp>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using hbd_test::datagram_peer;
using zunto::local_datagram::client;

std::string hex(const std::vector<std::uint8_t>& bytes) { return hbd_test::to_hex(bytes); }

class local_datagram_client_test : public testing::Test {
protected:
  local_datagram_client_test()
      : time_source_(std::make_shared<zunto::dispatcher::hardware_time_source>()),
        dispatcher_(std::make_shared<zunto::dispatcher::dispatcher>(time_source_)) {}

  ~local_datagram_client_test() override {
    client_ = nullptr;
    if (HasFailure()) {
      for (const auto& event : events_.texts()) {
        std::cerr << "event: " << event << '\n';
      }
    }
    dispatcher_->terminate();
  }

  std::string path(const std::string& name) const { return (directory_.path() / name).string(); }

  // The greatest "*.sock" of the folder, as a server that moves is found.
  std::filesystem::path find_server() const {
    std::filesystem::path found = directory_.path() / "none.sock";
    for (const auto& entry : std::filesystem::directory_iterator(directory_.path())) {
      if (entry.path().extension() == ".sock" && entry.path().filename() != "client.sock" &&
          (found.filename() == "none.sock" || entry.path() > found)) {
        found = entry.path();
      }
    }
    return found;
  }

  // A client whose events go to events_, with a short reconnect interval.
  void make_client(const std::string& server_path, std::optional<std::filesystem::path> client_path,
                   std::size_t buffer_size = 1024) {
    client_ = std::make_unique<client>(dispatcher_, server_path, client_path, buffer_size);
    client_->set_reconnect_interval(100ms);
    client_->warning_reported.connect([this](const std::string& message) { record("warning: " + message); });
    client_->connected.connect([this] { record("connected"); });
    client_->connect_failed.connect([this](const std::error_code& error) {
      record(error == asio::error::name_too_long ? "connect_failed: name too long" : "connect_failed");
    });
    client_->closed.connect([this] { record("closed"); });
    client_->error_occurred.connect([this](const std::error_code& error) {
      record(error == asio::error::message_size ? "error: message too long" : "error: " + error.message());
    });
    client_->received.connect([this](std::shared_ptr<std::vector<std::uint8_t>> buffer,
                                     std::shared_ptr<client::endpoint>) { record("received " + hex(*buffer)); });
    client_->next_heartbeat_deadline_exceeded.connect(
        [this](std::shared_ptr<client::endpoint> sender) { record("exceeded " + sender->path()); });
  }

  void record(const std::string& event) {
    if (!dispatcher_->dispatcher_thread()) {
      events_.push("off the dispatcher thread: " + event);
    }
    events_.push(event);
  }

  void send(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    client_->async_send(bytes, [this, name] { record("processed " + name); });
  }

  // Runs the function on the dispatcher thread as the client's job and waits for it.
  void on_dispatcher(const std::function<void()>& function) {
    std::promise<void> done;
    client_->enqueue_to_dispatcher(
        [&] {
          function();
          done.set_value();
        },
        zunto::dispatcher::time_point(1));
    done.get_future().wait();
  }

  hbd_test::temporary_directory directory_;
  std::shared_ptr<zunto::dispatcher::hardware_time_source> time_source_;
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_;
  hbd_test::event_log events_;
  std::unique_ptr<client> client_;
};

TEST_F(local_datagram_client_test, sends_user_data_and_heartbeats_in_order) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), std::nullopt);
  client_->set_server_check_interval(100ms);
  client_->set_next_heartbeat_deadline(700ms);
  const auto started = std::chrono::steady_clock::now();
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  send({0xaa, 0xbb}, "first");
  send({}, "empty");
  ASSERT_TRUE(events_.wait_for("processed empty"));
  ASSERT_TRUE(peer.wait_for_type(1, 2));
  const auto user_data = peer.datagrams_of_type(1);
  EXPECT_EQ(hex(user_data[0].bytes), "01aabb");
  EXPECT_EQ(hex(user_data[1].bytes), "01");

  // 700 ms announced, little-endian.
  ASSERT_TRUE(peer.wait_for_type(0, 4));
  const auto heartbeats = peer.datagrams_of_type(0);
  for (const auto& heartbeat : heartbeats) {
    EXPECT_EQ(hex(heartbeat.bytes), "00bc020000");
  }
  // The first check goes out at the earliest when the client starts, each later one an interval
  // after the one before. (The first may wait behind the user data for any time, so the gap from its
  // arrival bounds nothing.)
  EXPECT_GE(heartbeats[3].arrival - started, 300ms);
  EXPECT_EQ(events_.count("processed first"), 1u);
  EXPECT_EQ(events_.count("closed"), 0u);
}

TEST_F(local_datagram_client_test, hands_on_user_data_and_drops_what_is_malformed_or_too_large) {
  datagram_peer peer(path("server.sock"));
  // Receive buffer: 64 + 32 bytes.
  make_client(path("server.sock"), path("client.sock"), 64);
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  const std::vector<std::vector<std::uint8_t>> sent = {
      {0x01},                         // user data without payload
      {0x01, 0xaa, 0xbb},             // user data
      {0x02, 0xcc},                   // unknown type
      {0x00, 0x01, 0x02, 0x03},       // heartbeat too short
      {0x00, 0x00, 0x00, 0x00, 0x00}, // heartbeat without a deadline
      std::vector<std::uint8_t>(201, 0x01),
      {0x01, 0xff}, // the fence
  };
  for (const auto& bytes : sent) {
    ASSERT_TRUE(peer.send(path("client.sock"), bytes));
  }
  ASSERT_TRUE(events_.wait_for("received ff"));

  const std::vector<std::string> expected = {
      "connected",     "received -",
      "received aabb", "warning: a datagram of 201 bytes exceeds the receive buffer (96 bytes) and is dropped",
      "received ff",
  };
  EXPECT_EQ(events_.texts(), expected);
}

TEST_F(local_datagram_client_test, reports_a_sender_that_misses_its_heartbeat_deadline) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), path("client.sock"));
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));
  const std::string exceeded = "exceeded " + path("server.sock");

  // Bytes past the fifth are ignored.
  ASSERT_TRUE(peer.send(path("client.sock"), {0x00, 0x2c, 0x01, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff}));
  ASSERT_TRUE(events_.wait_for(exceeded));

  // Heartbeats that keep coming well within their deadline restart one timer.
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(peer.send(path("client.sock"), {0x00, 0xe8, 0x03, 0x00, 0x00}));
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(events_.count(exceeded), 1u);
  ASSERT_TRUE(events_.wait_for_count(exceeded, 2));
  EXPECT_EQ(events_.count("closed"), 0u);
}

TEST_F(local_datagram_client_test, follows_a_server_that_fails_then_appears_and_moves) {
  make_client(path("none.sock"), std::nullopt);
  client_->set_server_check_interval(100ms);
  client_->set_server_socket_file_path_resolver([this] { return find_server(); });
  client_->async_start();
  ASSERT_TRUE(events_.wait_for_count("connect_failed", 2));

  auto peer = std::make_unique<datagram_peer>(path("a.sock"));
  ASSERT_TRUE(events_.wait_for("connected"));

  ASSERT_TRUE(peer->command("move " + path("b.sock")));
  ASSERT_TRUE(events_.wait_for("closed"));
  ASSERT_TRUE(events_.wait_for_count("connected", 2));

  // The new server gets what is sent now.
  peer->wait_for_type(0, 1);
  send({0x42}, "after move");
  EXPECT_TRUE(peer->wait_for([](const auto& all) {
    return std::any_of(all.begin(), all.end(), [](const auto& d) { return hex(d.bytes) == "0142"; });
  }));
  for (const auto& event : events_.texts()) {
    EXPECT_EQ(event.find("off the dispatcher thread"), std::string::npos) << event;
  }
}

TEST_F(local_datagram_client_test, reconnects_when_its_own_socket_file_goes) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), path("client.sock"));
  client_->set_client_socket_check_interval(100ms);
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));
  // Several checks pass while the file stays.
  ASSERT_TRUE(peer.send(path("client.sock"), {0x00, 0x00, 0x00, 0x00, 0x00}));
  std::this_thread::sleep_for(400ms);
  EXPECT_EQ(events_.count("closed"), 0u);

  std::filesystem::remove(path("client.sock"));
  ASSERT_TRUE(events_.wait_for("closed"));
  ASSERT_TRUE(events_.wait_for_count("connected", 2));
  EXPECT_TRUE(std::filesystem::exists(path("client.sock")));
}

TEST_F(local_datagram_client_test, closes_when_a_send_hangs_past_its_deadline) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), std::nullopt);
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  ASSERT_TRUE(peer.command("stop_reading"));
  for (int i = 0; i < 2000; ++i) {
    send(std::vector<std::uint8_t>(512, 0x11), "filler");
  }
  ASSERT_TRUE(events_.wait_for_count("closed", 1, 30s));
}

TEST_F(local_datagram_client_test, closes_when_the_first_send_after_connecting_hangs_past_its_deadline) {
  datagram_peer peer(path("server.sock"));
  ASSERT_TRUE(peer.command("stop_reading"));
  // Another sender fills the peer's queue, so the client's first datagram finds no room.
  const int filler = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  ASSERT_GE(filler, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const auto server = path("server.sock");
  ASSERT_LT(server.size(), sizeof(address.sun_path));
  server.copy(address.sun_path, server.size());
  ASSERT_EQ(::connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
  const std::uint8_t byte = 0x01;
  while (::send(filler, &byte, 1, 0) == 1) {
  }
  ASSERT_EQ(errno, EAGAIN);

  make_client(path("server.sock"), std::nullopt);
  // Queued before the connection, so it is the first send once connected.
  send({0x44}, "first");
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));
  ASSERT_TRUE(events_.wait_for_count("closed", 1, 30s));
  ::close(filler);
}

TEST_F(local_datagram_client_test, stays_connected_once_sends_that_waited_for_room_have_completed) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), std::nullopt);
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  // More than the peer's socket queues at once: some sends wait for room, each under its deadline.
  constexpr std::size_t burst = 200;
  for (std::size_t i = 0; i < burst; ++i) {
    send(std::vector<std::uint8_t>(512, 0x11), "burst");
  }
  ASSERT_TRUE(events_.wait_for_count("processed burst", burst, 30s));
  // Past the deadlines of those sends, which completed in time.
  std::this_thread::sleep_for(5500ms);
  send({0x22}, "late");
  ASSERT_TRUE(events_.wait_for("processed late"));
  ASSERT_TRUE(peer.wait_for_type(1, burst + 1));
  EXPECT_EQ(events_.count("closed"), 0u);
}

TEST_F(local_datagram_client_test, drops_an_entry_too_large_for_the_socket_and_goes_on) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), std::nullopt);
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  send(std::vector<std::uint8_t>(1024 * 1024, 0x11), "large");
  send({0x01, 0x02}, "small");
  ASSERT_TRUE(events_.wait_for("processed small"));
  ASSERT_TRUE(peer.wait_for_type(1, 1));
  EXPECT_EQ(hex(peer.datagrams_of_type(1)[0].bytes), "010102");
  // The client passes the error on in a job of its own, which may come after the processed ones.
  ASSERT_TRUE(events_.wait_for("error: message too long"));
  EXPECT_EQ(events_.count("error: message too long"), 1u);
  EXPECT_EQ(events_.count("processed large"), 1u);
  EXPECT_EQ(events_.count("closed"), 0u);
}

TEST_F(local_datagram_client_test, after_close_sends_only_run_their_processed_function) {
  datagram_peer peer(path("server.sock"));
  make_client(path("server.sock"), path("client.sock"));
  client_->async_start();
  ASSERT_TRUE(events_.wait_for("connected"));

  on_dispatcher([this] { client_->close(); });
  EXPECT_FALSE(std::filesystem::exists(path("client.sock")));
  send({0x33}, "after close");
  ASSERT_TRUE(events_.wait_for("processed after close"));
  on_dispatcher([this] { client_->async_start(); });
  on_dispatcher([] {});
  EXPECT_TRUE(peer.datagrams().empty());
  EXPECT_EQ(events_.count("connected"), 1u);
}

TEST_F(local_datagram_client_test, reports_a_path_too_long_for_an_address_as_a_failed_connect) {
  const std::string long_name(200, 'x');
  struct path_case {
    std::string server;
    std::optional<std::filesystem::path> client;
  };
  const std::vector<path_case> cases = {
      {path(long_name + ".sock"), std::nullopt},
      {path("server.sock"), path(long_name + ".sock")},
  };
  datagram_peer peer(path("server.sock"));
  for (const auto& c : cases) {
    events_.clear();
    make_client(c.server, c.client);
    client_->async_start();
    EXPECT_TRUE(events_.wait_for_count("connect_failed: name too long", 2)) << c.server;
    client_ = nullptr;
  }
}

TEST_F(local_datagram_client_test, leaves_no_socket_file_thread_or_descriptor_behind) {
  datagram_peer peer(path("server.sock"));
  const auto descriptors = hbd_test::descriptor_count();
  const auto threads = hbd_test::thread_count();

  for (int cycle = 0; cycle < 10; ++cycle) {
    events_.clear();
    // Bound, but the server is missing: the file must go all the same.
    make_client(cycle % 2 == 0 ? path("server.sock") : path("missing.sock"), path("client.sock"));
    client_->set_server_check_interval(5ms);
    client_->set_client_socket_check_interval(5ms);
    client_->async_start();
    ASSERT_TRUE(events_.wait_for(cycle % 2 == 0 ? "connected" : "connect_failed"));
    if (cycle % 2 == 0) {
      // The peer announces deadlines, so heartbeat timers are running when the client goes.
      ASSERT_TRUE(peer.send(path("client.sock"), {0x00, 0x05, 0x00, 0x00, 0x00}));
      send({0x01}, "one");
      ASSERT_TRUE(events_.wait_for("processed one"));
    }
    auto destroyed = std::async(std::launch::async, [this] { client_ = nullptr; });
    ASSERT_EQ(destroyed.wait_for(10s), std::future_status::ready) << "destruction hangs in cycle " << cycle;
    EXPECT_FALSE(std::filesystem::exists(path("client.sock"))) << cycle;
  }
  EXPECT_EQ(hbd_test::descriptor_count(), descriptors);
  EXPECT_EQ(hbd_test::thread_count_down_to(threads), threads);
}

} // namespace

TEST_F(local_datagram_client_test, makes_one_attempt_per_reconnect_interval) {
  make_client(path("absent.sock"), std::nullopt);
  const auto started = time_source_->now();
  client_->async_start();
  constexpr std::size_t attempts = 8;
  ASSERT_TRUE(events_.wait_for_count("connect_failed", attempts));
  // Each attempt comes a whole interval after the one before, however late; an attempt in between
  // brings the last one forward.
  EXPECT_GE(time_source_->now() - started, (attempts - 1) * 100ms);
}
