// Bursts of entries with one time stamp appended one by one to an event queue, against pushing the
// same entries to a vector and sorting it once. The ratio stays flat as the burst grows when an
// append costs the same at any queue length.

#include "hbd/event_queue/queue.hpp"
#include "support/ratio.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

using hbd::event_type;
using hbd::momentary_switch_event;
using hbd::event_queue::entry;
using hbd::event_queue::event;
using hbd::event_queue::event_time_stamp;

// A key typed with shift held, over and over: some entries move, most stay.
std::vector<entry> make_burst(std::size_t size) {
  const momentary_switch_event key_a(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{4});
  const momentary_switch_event shift(zunto::hid::usage_page::keyboard_or_keypad, zunto::hid::usage::value_t{225});
  const struct {
    const momentary_switch_event& key;
    event_type type;
  } cycle[] = {
      {key_a, event_type::key_down},
      {shift, event_type::key_down},
      {key_a, event_type::key_up},
      {shift, event_type::key_up},
  };
  std::vector<entry> burst;
  burst.reserve(size);
  const event_time_stamp time_stamp(zunto::osx::chrono::absolute_time_point(1000));
  for (std::size_t i = 0; i < size; ++i) {
    const auto& step = cycle[i % 4];
    burst.emplace_back(zunto::osx::iokit_registry_entry_id::value_t{1}, time_stamp, event(step.key), step.type,
                       event(step.key), hbd::event_origin::observed_device, hbd::event_queue::state::original);
  }
  return burst;
}

void queue_append(benchmark::State& state) {
  const auto burst = make_burst(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    hbd::event_queue::queue queue;
    for (const auto& e : burst) {
      queue.push_back_entry(e);
    }
    benchmark::DoNotOptimize(queue.size());
  }
}

void vector_push_and_stable_sort(benchmark::State& state) {
  const auto burst = make_burst(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::vector<entry> entries;
    for (const auto& e : burst) {
      entries.push_back(e);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const entry& a, const entry& b) {
      return a.get_event_time_stamp().get_time_stamp() < b.get_event_time_stamp().get_time_stamp();
    });
    benchmark::DoNotOptimize(entries.data());
  }
}

} // namespace

BENCHMARK(queue_append)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
BENCHMARK(vector_push_and_stable_sort)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
HBD_BENCH_RATIO("queue_append", "vector_push_and_stable_sort");
