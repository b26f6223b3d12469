#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "platform/dispatch/serial_queue.hpp"
#include "platform/fsevents/stream.hpp"
#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace spdlog {
class logger;
}

namespace zunto::osx {

// Watches a fixed list of files through an event stream on their parent directories (and, for a
// file that is a symbolic link, the directory of what it leads to) and reports, on the dispatcher
// thread, each file whose bytes really changed, with its new content. Every file is reported once
// when watching starts, a missing one with a null body; afterwards a file is reported only when
// another process changed it. When the files cannot be watched, the logger hears it once.
class file_monitor final : public dispatcher::extra::dispatcher_client {
public:
  class fs_event;
  struct impl {
    class file_monitors_manager;
  };

  // changed_file_path is the path exactly as given to the constructor; changed_file_body is null
  // when the file cannot be read.
  nod::signal_type<nod::multithread_policy, void(const std::string& changed_file_path,
                                                 std::shared_ptr<std::vector<std::uint8_t>> changed_file_body)>
      file_changed;
  nod::signal_type<nod::multithread_policy, void(const std::string& message)> error_occurred;

  // `logger` (not null) hears of what went wrong inside the monitor's jobs, such as a slot that threw.
  file_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, const std::vector<std::string>& files,
               std::shared_ptr<spdlog::logger> logger);
  // Stops the stream and detaches from the dispatcher; no signal is emitted after it returns.
  // Safe on the dispatcher thread, also from a slot of this monitor.
  ~file_monitor() override;

  // Starts watching on the dispatcher and reports every file once; returns at once.
  void async_start();

  // This process wrote `path` (one of the files) itself. Writes in a row may reach the monitor as
  // one event together with another process's change, so the bytes it last read prove nothing now:
  // the next change by another process is reported, whatever its bytes.
  void async_forget_file_body(const std::string& path);

  // Larger files are not read: they count as unreadable.
  static constexpr std::size_t maximum_file_size = 32 * 1024 * 1024;

  // The whole content of a regular file, read up to its end; null when it cannot be opened or read,
  // is not a regular file (a FIFO or a device at the path) or is larger than maximum_file_size.
  // Never blocks on what the path names.
  static std::shared_ptr<std::vector<std::uint8_t>> read_file(const std::string& path);

private:
  using body = std::shared_ptr<std::vector<std::uint8_t>>;

  static void static_stream_callback(platform::fsevents::stream_ref stream, void* info, std::size_t event_count,
                                     const char* const* event_paths, const platform::fsevents::event_flags* flags,
                                     const platform::fsevents::event_id* ids);

  // Every file's folder, then the folders that links among the files lead to.
  std::vector<std::string> watched_directories() const;
  void register_stream();
  void unregister_stream();
  void stream_callback(const std::shared_ptr<std::vector<fs_event>>& events);
  std::optional<std::string> find_changed_file(const std::string& event_path);
  // The new body when it differs from the recorded one (or none is recorded yet).
  std::optional<body> update_file_bodies(const std::string& path);
  void enqueue_file_changed(const std::string& file, const body& new_body);
  void enqueue_error_occurred(const std::string& message);

  std::shared_ptr<spdlog::logger> logger_;
  std::vector<std::string> files_;
  std::shared_ptr<platform::dispatch::serial_queue> queue_;
  // What the stream watches; chosen anew at each registration.
  std::vector<std::string> directories_;
  platform::fsevents::stream_ref stream_ = nullptr;
  std::unordered_map<std::string, std::string> real_path_map_;
  std::unordered_map<std::string, body> file_bodies_;
  // The logger heard that the files cannot be watched, and no stream has started since.
  bool cannot_watch_told_ = false;
};

} // namespace zunto::osx
