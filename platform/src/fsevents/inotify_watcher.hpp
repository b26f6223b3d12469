#pragma once

#include "platform/fsevents/stream.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform::fsevents {

struct raw_event {
  std::string path;
  event_flags flags;
};

// The kernel side of a stream: inotify watches on the directories (and, for watch_root, on the
// folders above them), read on a thread of its own, gathered for the latency and handed over.
class inotify_watcher final {
public:
  using deliver_function = std::function<void(std::vector<raw_event> batch)>;

  // Null, with errno telling why, when the kernel refuses the watches (for another reason than a
  // missing directory) or a thread cannot be started. `deliver` runs on the watcher's thread.
  static std::unique_ptr<inotify_watcher> start(std::vector<std::string> roots, std::chrono::nanoseconds latency,
                                                create_flags flags, deliver_function deliver);
  // Stops the thread and waits for it; no delivery starts afterwards. The inotify descriptor is
  // closed in the background (see wait_for_stopped_streams).
  ~inotify_watcher();

  inotify_watcher(const inotify_watcher&) = delete;
  inotify_watcher& operator=(const inotify_watcher&) = delete;

private:
  enum class role_kind { content, ancestor, awaiting };
  struct role {
    role_kind kind;
    std::size_t root;
    std::string directory; // content: the resolved directory
    std::string child;     // awaiting: the missing name below the watched folder
  };

  inotify_watcher(std::vector<std::string> roots, std::chrono::nanoseconds latency, create_flags flags,
                  deliver_function deliver);

  using roles_map = std::unordered_map<int, std::vector<role>>;

  // Watches every root anew on a fresh inotify descriptor, then reads what the old one still holds
  // and has it closed. False when the kernel refuses.
  bool build_watches();
  // Removes the watches and has the descriptor closed in the background.
  static void release(int fd, const roles_map& roles);
  // `returned`: the folder came back since the last build, so what it holds is reported.
  bool watch_root(std::size_t index, bool returned);
  bool add_watch(const std::string& path, std::uint32_t mask, role value);
  bool watch_ancestors(const std::string& directory, std::size_t index);
  void report_contents(const std::string& directory);

  void run();
  void read_events(int fd, const roles_map& roles);
  void translate(const roles_map& roles, std::uint32_t mask, int wd, const std::string& name);
  void root_changed(std::size_t index);
  void add(const std::string& path, event_flags flags);
  void drop_everything(event_flags flags);

  std::vector<std::string> roots_;
  std::chrono::nanoseconds latency_;
  create_flags flags_;
  deliver_function deliver_;

  int inotify_fd_ = -1;
  int wake_fd_ = -1;
  roles_map roles_;
  bool rebuild_ = false;
  // Roots changed since the last build.
  std::unordered_set<std::size_t> changed_roots_;

  std::vector<raw_event> pending_;
  std::unordered_map<std::string, std::size_t> pending_index_;
  bool dropping_ = false;
  std::chrono::steady_clock::time_point deadline_;

  std::thread thread_;
};

} // namespace platform::fsevents
