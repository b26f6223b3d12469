// Saving a JSON document through the file writer against writing the same bytes by hand: a queued
// save then a wait against a plain write and rename, and the synchronous save (which also syncs the
// file to disk) against a write, fsync and rename; each also against the JSON library serialising
// the document before that write. The synchronous save syncs the folder after the rename as well,
// so that the new file survives a crash; its like-for-like baseline does the same. Every file goes
// to a temporary folder made and removed here.

#include "hbd/async_file_writer.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/json_writer.hpp"
#include "support/ratio.hpp"
#include "support/raw_save.hpp"
#include "support/scratch_folder.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace {

// A configuration-like document whose saved text is about `size` bytes.
nlohmann::json document_of_size(std::int64_t size) {
  nlohmann::json json = nlohmann::json::object();
  for (int i = 0; json.dump(4).size() < static_cast<std::size_t>(size); ++i) {
    json["rules"].push_back({{"description", "rule " + std::to_string(i)},
                             {"enabled", i % 2 == 0},
                             {"from", {{"key_code", "caps_lock"}}},
                             {"to", {{{"key_code", "left_control"}}}}});
  }
  return json;
}

std::string saved_text(const nlohmann::json& json) {
  return json.dump(4, ' ', false, nlohmann::json::error_handler_t::ignore);
}

// A save through the file writer: queued then waited for, or synchronous (which also syncs).
void json_save(benchmark::State& state, bool synchronous) {
  const hbd_bench::scratch_folder folder("hbd_bench_file_writer");
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
  const auto json = document_of_size(state.range(0));
  const auto path = folder.path() + "/hobbard.json";
  for (auto _ : state) {
    if (synchronous) {
      hbd::json_writer::sync_save_to_file(json, path, 0700, 0600);
    } else {
      hbd::json_writer::async_save_to_file(json, path, 0700, 0600);
      hbd::async_file_writer::wait();
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(saved_text(json).size()));
}

// The same bytes, already serialised, written and renamed on the calling thread.
void raw_save(benchmark::State& state, hbd_bench::durability level) {
  const hbd_bench::scratch_folder folder("hbd_bench_file_writer");
  const auto text = saved_text(document_of_size(state.range(0)));
  const auto path = folder.path() + "/hobbard.json";
  for (auto _ : state) {
    if (!hbd_bench::raw_write_and_rename(path, text, level)) {
      state.SkipWithError("the raw write failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// The fair baseline of a JSON save: the JSON library serialises the same document in the loop, then
// the text is written and renamed by hand.
void dump_save(benchmark::State& state, hbd_bench::durability level) {
  const hbd_bench::scratch_folder folder("hbd_bench_file_writer");
  const auto json = document_of_size(state.range(0));
  const auto path = folder.path() + "/hobbard.json";
  for (auto _ : state) {
    if (!hbd_bench::dump_write_and_rename(path, json, level)) {
      state.SkipWithError("the raw write failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(saved_text(json).size()));
}

void json_async_save_and_wait(benchmark::State& state) { json_save(state, false); }
void raw_write_rename(benchmark::State& state) { raw_save(state, hbd_bench::durability::none); }
void json_sync_save(benchmark::State& state) { json_save(state, true); }
void raw_write_fsync_rename(benchmark::State& state) { raw_save(state, hbd_bench::durability::file); }
void dump_write_rename(benchmark::State& state) { dump_save(state, hbd_bench::durability::none); }
void dump_write_fsync_rename(benchmark::State& state) { dump_save(state, hbd_bench::durability::file); }
void dump_write_fsync_rename_fsync_dir(benchmark::State& state) {
  dump_save(state, hbd_bench::durability::file_and_folder);
}

} // namespace

BENCHMARK(json_async_save_and_wait)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(raw_write_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(dump_write_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
HBD_BENCH_RATIO("json_async_save_and_wait", "raw_write_rename");
HBD_BENCH_RATIO("json_async_save_and_wait", "dump_write_rename");

BENCHMARK(json_sync_save)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(raw_write_fsync_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(dump_write_fsync_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(dump_write_fsync_rename_fsync_dir)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
HBD_BENCH_RATIO("json_sync_save", "raw_write_fsync_rename");
HBD_BENCH_RATIO("json_sync_save", "dump_write_fsync_rename");
HBD_BENCH_RATIO("json_sync_save", "dump_write_fsync_rename_fsync_dir");
