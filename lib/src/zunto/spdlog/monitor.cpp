#include "zunto/spdlog/monitor.hpp"

#include "zunto/spdlog/read_log_files.hpp"

#include <filesystem>
#include <system_error>

namespace zunto::spdlog {

monitor::monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, const std::vector<std::string>& log_file_paths,
                 std::size_t max_line_count)
    : dispatcher_client(std::move(weak_dispatcher)),
      log_file_paths_(log_file_paths),
      max_line_count_(max_line_count),
      timer_(*this) {}

monitor::~monitor() {
  detach_from_dispatcher([this] { timer_.stop(); });
}

void monitor::async_start(std::chrono::milliseconds interval) {
  enqueue_to_dispatcher([this, interval] { timer_.start([this] { check(); }, interval); }, dispatcher::time_point(1));
}

void monitor::check() {
  bool changed = false;
  for (const auto& path : log_file_paths_) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
      continue;
    }
    auto it = last_sizes_.find(path);
    if (it == last_sizes_.end() || it->second != size) {
      last_sizes_[path] = size;
      changed = true;
    }
  }
  if (changed) {
    log_file_updated(read_log_files(log_file_paths_, max_line_count_));
  }
}

} // namespace zunto::spdlog
