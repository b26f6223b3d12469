// Saving a JSON document through the file writer against writing the same bytes by hand: a queued
// save then a wait against a plain write and rename, and the synchronous save (which also syncs the
// file to disk) against a write, fsync and rename. Every file goes to a temporary folder made and
// removed here.

#include "hbd/async_file_writer.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "hbd/json_writer.hpp"
#include "support/ratio.hpp"
#include "zunto/filesystem/filesystem.hpp"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class temporary_folder final {
public:
  temporary_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hbd_bench.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    path_ = pattern;
  }
  ~temporary_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  temporary_folder(const temporary_folder&) = delete;
  temporary_folder& operator=(const temporary_folder&) = delete;

  std::string file(const char* name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

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

void raw_write_and_rename(const std::string& path, const std::string& text, bool sync_to_disk) {
  const auto temporary_path = path + ".tmp";
  const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0 || !zunto::filesystem::write_all(fd, text) || (sync_to_disk && ::fsync(fd) != 0) || ::close(fd) != 0 ||
      ::rename(temporary_path.c_str(), path.c_str()) != 0) {
    std::abort();
  }
}

// A save through the file writer: queued then waited for, or synchronous (which also syncs).
void json_save(benchmark::State& state, bool synchronous) {
  temporary_folder folder;
  hbd::dispatcher_utility::scoped_dispatcher_manager manager;
  const auto json = document_of_size(state.range(0));
  const auto path = folder.file("hobbard.json");
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
void raw_save(benchmark::State& state, bool sync_to_disk) {
  temporary_folder folder;
  const auto text = saved_text(document_of_size(state.range(0)));
  const auto path = folder.file("hobbard.json");
  for (auto _ : state) {
    raw_write_and_rename(path, text, sync_to_disk);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void json_async_save_and_wait(benchmark::State& state) { json_save(state, false); }
void raw_write_rename(benchmark::State& state) { raw_save(state, false); }
void json_sync_save(benchmark::State& state) { json_save(state, true); }
void raw_write_fsync_rename(benchmark::State& state) { raw_save(state, true); }

} // namespace

BENCHMARK(json_async_save_and_wait)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(raw_write_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
HBD_BENCH_RATIO("json_async_save_and_wait", "raw_write_rename");

BENCHMARK(json_sync_save)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
BENCHMARK(raw_write_fsync_rename)->Arg(4 << 10)->Arg(1 << 20)->UseRealTime();
HBD_BENCH_RATIO("json_sync_save", "raw_write_fsync_rename");
