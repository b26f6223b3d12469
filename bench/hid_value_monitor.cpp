// A burst of values reported by a simulated keyboard, timed until the last one reached the C
// callback of libhbd_enable_hid_value_monitor (run-loop thread, queue drain, dispatcher hop),
// against one bare dispatcher job carrying the same values to the same callback: the least any
// delivery on the dispatcher thread costs.

#include "libhbd.h"
#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/hid_value.hpp"
#include "support/ratio.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Counts the calls of one burst and tells when the last has come.
struct burst {
  std::int64_t size = 0;
  std::atomic<std::int64_t> calls{0};
  std::shared_ptr<zunto::thread_wait> done = zunto::make_thread_wait();
};

std::atomic<burst*> current_burst{nullptr};

void on_value(uint64_t, int32_t, int32_t, int64_t, int64_t, int64_t, void*) {
  if (auto* b = current_burst.load(); b != nullptr && ++b->calls == b->size) {
    b->done->notify();
  }
}

// A keyboard with one key, and the burst of values it reports, made before timing.
class simulated_keyboard final {
public:
  explicit simulated_keyboard(std::int64_t burst_size)
      : entry_(platform::iokit::registry_entry_create("IOHIDUserDevice")) {
    element_ = platform::iokit::hid_element_create(7, 4, 0, 1);
    platform::iokit::registry_entry_add_hid_element(entry_, element_);
    platform::iokit::registry_entry_set_hid_usage_pairs(entry_, {{1, 6}});
    for (std::int64_t i = 0; i < burst_size; ++i) {
      values_.push_back(platform::iokit::hid_value_create(element_, static_cast<std::uint64_t>(i), i % 2));
    }
  }

  ~simulated_keyboard() {
    platform::iokit::registry_entry_terminate(entry_);
    for (auto v : values_) {
      platform::cf::release(v);
    }
    platform::cf::release(element_);
    platform::cf::release(entry_);
  }

  simulated_keyboard(const simulated_keyboard&) = delete;
  simulated_keyboard& operator=(const simulated_keyboard&) = delete;

  platform::iokit::registry_entry_ref entry() const { return entry_; }
  const std::vector<platform::iokit::hid_value_ref>& values() const { return values_; }

private:
  platform::iokit::registry_entry_ref entry_;
  platform::iokit::hid_element_ref element_;
  std::vector<platform::iokit::hid_value_ref> values_;
};

void hid_value_monitor_burst(benchmark::State& state) {
  // Below the queue's depth, so no value of a burst is lost.
  simulated_keyboard keyboard(state.range(0));
  libhbd_set_logging_level_off();
  libhbd_initialize();
  libhbd_enable_hid_value_monitor(on_value, nullptr);
  while (!libhbd_hid_value_monitor_observed()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  for (auto _ : state) {
    burst b{state.range(0)};
    current_burst = &b;
    for (auto value : keyboard.values()) {
      platform::iokit::registry_entry_report_hid_value(keyboard.entry(), value);
    }
    b.done->wait_notice();
    current_burst = nullptr;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));

  libhbd_terminate();
}

void dispatcher_hop_burst(benchmark::State& state) {
  simulated_keyboard keyboard(state.range(0));
  auto clock = std::make_shared<zunto::dispatcher::hardware_time_source>();
  auto dispatcher = std::make_shared<zunto::dispatcher::dispatcher>(clock);
  zunto::dispatcher::object_id id;
  dispatcher->attach(id);

  for (auto _ : state) {
    burst b{state.range(0)};
    current_burst = &b;
    auto values = std::make_shared<std::vector<platform::iokit::hid_value_ref>>(keyboard.values());
    for (auto value : *values) {
      platform::cf::retain(value);
    }
    dispatcher->enqueue(
        id,
        [values] {
          for (auto value : *values) {
            auto element = platform::iokit::hid_value_get_element(value);
            on_value(1, static_cast<int32_t>(platform::iokit::hid_element_get_usage_page(element)),
                     static_cast<int32_t>(platform::iokit::hid_element_get_usage(element)),
                     platform::iokit::hid_element_get_logical_max(element),
                     platform::iokit::hid_element_get_logical_min(element),
                     platform::iokit::hid_value_get_integer_value(value), nullptr);
            platform::cf::release(value);
          }
        },
        zunto::dispatcher::time_point(1));
    b.done->wait_notice();
    current_burst = nullptr;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));

  dispatcher->detach(id);
  dispatcher->terminate();
}

} // namespace

BENCHMARK(hid_value_monitor_burst)->Arg(512)->UseRealTime();
BENCHMARK(dispatcher_hop_burst)->Arg(512)->UseRealTime();
HBD_BENCH_RATIO("hid_value_monitor_burst", "dispatcher_hop_burst");
