#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zunto::spdlog {

// Polls the sizes of log files; when any changed, reads them with their rotated files, merges the
// lines in time order and reports the newest ones on the dispatcher thread.
class monitor final : public dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<std::deque<std::string>> lines)> log_file_updated;

  // A maximum line count of 0 keeps every line.
  monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, const std::vector<std::string>& log_file_paths,
          std::size_t max_line_count);
  ~monitor() override;

  // Polls at once, then every interval.
  void async_start(std::chrono::milliseconds interval);

private:
  void check();

  std::vector<std::string> log_file_paths_;
  std::size_t max_line_count_;
  dispatcher::extra::timer timer_;
  std::unordered_map<std::string, std::uint64_t> last_sizes_;
};

} // namespace zunto::spdlog
