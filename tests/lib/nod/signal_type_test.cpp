#include "nod/signal_type.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using int_signal = nod::signal_type<nod::multithread_policy, void(int)>;

// Records which slots ran, in order.
struct recorder {
  std::vector<std::string> calls;
  std::function<void(int)> slot(std::string name) {
    return [this, name](int) { calls.push_back(name); };
  }
  std::vector<std::string> take() { return std::exchange(calls, {}); }
};

using names = std::vector<std::string>;

} // namespace

TEST(signal_type, keeps_slot_order_and_trims_freed_places_at_the_end) {
  recorder record;
  int_signal s;
  auto a = s.connect(record.slot("a"));
  auto b = s.connect(record.slot("b"));
  auto c = s.connect(record.slot("c"));

  b.disconnect();
  s(0);
  EXPECT_EQ(record.take(), (names{"a", "c"}));
  EXPECT_EQ(s.slot_count(), 2u);
  EXPECT_EQ(s.copy_slots().size(), 3u); // live slots keep their places

  c.disconnect();
  EXPECT_EQ(s.slot_count(), 1u);
  EXPECT_EQ(s.copy_slots().size(), 1u); // the freed places at the end go

  auto d = s.connect(record.slot("d"));
  s(0);
  EXPECT_EQ(record.take(), (names{"a", "d"}));

  a.disconnect();
  a.disconnect(); // a second time does nothing
  d.disconnect();
  EXPECT_EQ(s.slot_count(), 0u);
  EXPECT_TRUE(s.copy_slots().empty());

  nod::connection empty_slot = s.connect(nullptr);
  empty_slot.disconnect();
  nod::connection never_connected;
  never_connected.disconnect();
  EXPECT_TRUE(s.copy_slots().empty());
}

TEST(signal_type, stale_connections_never_free_a_newer_slot) {
  recorder record;
  int_signal s;
  auto a = s.connect(record.slot("a"));
  auto b = s.connect(record.slot("b"));
  const auto stale_a = a;
  const auto stale_b = b;

  // b's place is trimmed away: its index now lies past the end.
  b.disconnect();
  auto stale = stale_b;
  stale.disconnect();
  EXPECT_EQ(s.copy_slots().size(), 1u);

  // ...and then reused by c.
  auto c = s.connect(record.slot("c"));
  stale = stale_b;
  stale.disconnect();
  s(0);
  EXPECT_EQ(record.take(), (names{"a", "c"}));

  // a's place is freed, the list emptied, and index 0 reused by d.
  a.disconnect();
  c.disconnect();
  auto d = s.connect(record.slot("d"));
  auto e = s.connect(record.slot("e"));
  stale = stale_a;
  stale.disconnect();
  stale = stale_b;
  stale.disconnect();

  s(0);
  EXPECT_EQ(record.take(), (names{"d", "e"}));
  EXPECT_EQ(s.slot_count(), 2u);
}

TEST(signal_type, connections_outlive_the_signal) {
  nod::connection connection;
  {
    int_signal s;
    connection = s.connect([](int) {});
  }
  connection.disconnect();
  SUCCEED();
}

TEST(signal_type, slots_change_the_signal_during_an_emission) {
  recorder record;
  int_signal s;

  // Disconnects itself: runs in this emission, never again.
  auto self = std::make_shared<nod::connection>();
  *self = s.connect([&record, self_weak = std::weak_ptr<nod::connection>(self)](int) {
    record.calls.push_back("self");
    if (auto connection = self_weak.lock()) {
      connection->disconnect();
    }
  });

  // Disconnects a later slot, which still runs once from this emission's copy.
  nod::connection later;
  auto disconnect_later = s.connect([&](int) {
    record.calls.push_back("disconnect later");
    later.disconnect();
  });
  later = s.connect(record.slot("later"));

  // Connects a new slot, first called by the next emission.
  bool connected = false;
  std::vector<nod::connection> added;
  auto adder = s.connect([&](int) {
    record.calls.push_back("adder");
    if (!connected) {
      connected = true;
      added.push_back(s.connect(record.slot("added")));
    }
  });

  s(0);
  EXPECT_EQ(record.take(), (names{"self", "disconnect later", "later", "adder"}));
  s(0);
  EXPECT_EQ(record.take(), (names{"disconnect later", "adder", "added"}));
}

TEST(signal_type, emits_again_from_a_slot_and_lets_exceptions_reach_the_emitter) {
  recorder record;
  int_signal s;
  auto reentrant = s.connect([&](int depth) {
    record.calls.push_back("depth " + std::to_string(depth));
    if (depth == 0) {
      s(1);
    }
  });
  s(0);
  EXPECT_EQ(record.take(), (names{"depth 0", "depth 1"}));
  reentrant.disconnect();

  auto thrower = s.connect([](int) { throw std::runtime_error("slot failed"); });
  auto after = s.connect(record.slot("after"));
  EXPECT_THROW(s(0), std::runtime_error);
  EXPECT_TRUE(record.take().empty());
}

TEST(signal_type, every_slot_gets_its_own_copy_of_a_by_value_argument) {
  nod::signal_type<nod::multithread_policy, void(std::string)> s;
  std::vector<std::string> seen;
  auto first = s.connect([&](std::string text) {
    seen.push_back(text);
    text = "changed";
  });
  auto second = s.connect([&](std::string text) { seen.push_back(text); });
  const std::string argument = "value";
  s(argument);
  EXPECT_EQ(seen, (std::vector<std::string>{"value", "value"}));
  EXPECT_EQ(argument, "value");
}

TEST(signal_type, connect_disconnect_and_emit_from_many_threads) {
  int_signal s;
  std::atomic<long> calls{0};
  auto steady = s.connect([&](int) { calls.fetch_add(1, std::memory_order_relaxed); });

  // All threads start together so the operations really interleave.
  std::mutex mutex;
  std::condition_variable start_cv;
  bool started = false;
  auto wait_start = [&] {
    std::unique_lock lock(mutex);
    start_cv.wait(lock, [&] { return started; });
  };

  constexpr int rounds = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&] {
      wait_start();
      for (int i = 0; i < rounds; ++i) {
        s(i);
      }
    });
  }
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&] {
      wait_start();
      std::vector<nod::connection> mine;
      for (int i = 0; i < rounds; ++i) {
        mine.push_back(s.connect([&](int) { calls.fetch_add(1, std::memory_order_relaxed); }));
        if (i % 3 == 2) {
          // Disconnect out of order, and keep stale copies around.
          auto stale = mine[mine.size() - 2];
          mine[mine.size() - 2].disconnect();
          mine[mine.size() - 3].disconnect();
          stale.disconnect();
        }
      }
      for (auto& connection : mine) {
        connection.disconnect();
      }
    });
  }
  {
    std::lock_guard lock(mutex);
    started = true;
  }
  start_cv.notify_all();
  for (auto& thread : threads) {
    thread.join();
  }

  EXPECT_EQ(s.slot_count(), 1u);
  EXPECT_EQ(s.copy_slots().size(), 1u);
  const long before = calls.load();
  s(0);
  EXPECT_EQ(calls.load(), before + 1);
}

TEST(signal_type, destruction_waits_for_a_disconnect_in_progress) {
  // A disconnect racing with the destructor must either free its slot before the signal goes or
  // find the link cut; the sanitizer builds report any access to a destroyed signal.
  for (int i = 0; i < 200; ++i) {
    auto s = std::make_unique<int_signal>();
    auto connection = s->connect([](int) {});
    std::atomic<bool> go{false};
    std::thread disconnecting([&] {
      while (!go.load()) {
        std::this_thread::yield();
      }
      connection.disconnect();
    });
    go.store(true);
    s.reset();
    disconnecting.join();
  }
  SUCCEED();
}
