#include "zunto/osx/file_monitor.hpp"

#include "platform/fsevents/own_writes.hpp"
#include "zunto/filesystem/filesystem.hpp"
#include "zunto/guard_exceptions.hpp"
#include "zunto/osx/file_monitor/fs_event.hpp"
#include "zunto/osx/file_monitor/impl/file_monitors_manager.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>
#include <spdlog/logger.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

namespace zunto::osx {
namespace {

constexpr platform::fsevents::event_flags restart_flags = platform::fsevents::event_flag_user_dropped |
                                                          platform::fsevents::event_flag_kernel_dropped |
                                                          platform::fsevents::event_flag_root_changed;

// Empty when the path does not resolve.
std::string real_path(const std::string& path) {
  char buffer[PATH_MAX];
  if (::realpath(path.c_str(), buffer) == nullptr) {
    return {};
  }
  return buffer;
}

// For a path that no longer resolves: its folder resolved, then its own name. Empty when even the
// folder does not resolve.
std::string real_parent_and_name(const std::string& path) {
  std::string result = real_path(zunto::filesystem::parent_directory(path));
  std::string_view name = path;
  while (name.size() > 1 && name.back() == '/') {
    name.remove_suffix(1);
  }
  if (const auto slash = name.rfind('/'); slash != std::string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  if (result.empty() || name.empty() || name == "/" || name == "." || name == "..") {
    return {};
  }
  if (result != "/") {
    result += '/';
  }
  result.append(name);
  return result;
}

bool same_body(const std::shared_ptr<std::vector<std::uint8_t>>& a,
               const std::shared_ptr<std::vector<std::uint8_t>>& b) {
  if (!a || !b) {
    return !a && !b;
  }
  return *a == *b;
}

// Runs a job's work so that nothing it throws reaches the dispatcher; a throw goes to the monitor's
// logger.
template <typename Function>
void guarded(spdlog::logger& logger, const char* what, Function&& function) noexcept {
  zunto::guard_exceptions(std::forward<Function>(function), [&logger, what](std::string_view message) {
    logger.error("zunto::osx::file_monitor {0} failed: {1}", what, message);
  });
}

} // namespace

file_monitor::file_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher, const std::vector<std::string>& files,
                           std::shared_ptr<spdlog::logger> logger)
    : dispatcher_client(std::move(weak_dispatcher)), logger_(std::move(logger)), files_(files) {
  queue_ = std::make_shared<platform::dispatch::serial_queue>("org.zunto.osx.file_monitor");
  queue_->sync([this] { impl::file_monitors_manager::insert(this); });
}

file_monitor::~file_monitor() {
  // A callback waiting on the queue now finds the monitor gone; one already running has finished.
  queue_->sync([this] { impl::file_monitors_manager::erase(this); });

  detach_from_dispatcher([this] { unregister_stream(); });
  // Not attached (the dispatcher is gone or terminating): nobody else can touch the stream now.
  unregister_stream();
  // Only now: a registration running on the dispatcher until the detach reads the queue.
  queue_.reset();
}

void file_monitor::async_start() {
  enqueue_to_dispatcher([this] { guarded(*logger_, "register_stream", [this] { register_stream(); }); },
                        dispatcher::time_point(1));
}

void file_monitor::async_forget_file_body(const std::string& path) {
  enqueue_to_dispatcher([this, path] { file_bodies_.erase(path); }, dispatcher::time_point(1));
}

std::shared_ptr<std::vector<std::uint8_t>> file_monitor::read_file(const std::string& path) {
  const auto text = zunto::filesystem::read_regular_file(path, maximum_file_size);
  if (!text) {
    return nullptr;
  }
  return std::make_shared<std::vector<std::uint8_t>>(text->begin(), text->end());
}

void file_monitor::register_stream() {
  if (stream_ != nullptr) {
    return;
  }

  // Watching starts before the files are read, so that a change made while they are read is
  // still seen afterwards.
  directories_ = watched_directories();
  platform::fsevents::stream_context context;
  context.info = this;
  auto* stream = platform::fsevents::stream_create(
      static_stream_callback, &context, directories_, platform::fsevents::event_id_since_now, 0.1,
      platform::fsevents::create_flag_watch_root | platform::fsevents::create_flag_file_events |
          platform::fsevents::create_flag_mark_self);
  bool started = false;
  if (stream != nullptr) {
    stream_ = stream;
    platform::fsevents::stream_set_dispatch_queue(stream_, queue_);
    started = platform::fsevents::stream_start(stream_);
  }
  const int error = errno;

  for (const auto& file : files_) {
    if (auto new_body = update_file_bodies(file)) {
      enqueue_file_changed(file, *new_body);
    }
  }

  if (stream == nullptr) {
    enqueue_error_occurred("FSEventStreamCreate is failed.");
  } else if (!started) {
    // Nobody may listen for the error, and no later change is seen. Said once, not at every
    // attempt, until watching works again.
    if (!cannot_watch_told_) {
      logger_->warn("zunto::osx::file_monitor cannot watch {0}: {1}", fmt::join(files_, ", "),
                    std::generic_category().message(error));
      cannot_watch_told_ = true;
    }
    enqueue_error_occurred("FSEventStreamStart is failed.");
  } else {
    cannot_watch_told_ = false;
  }
}

std::vector<std::string> file_monitor::watched_directories() const {
  std::vector<std::string> directories;
  const auto add = [&](const std::string& path) {
    auto directory = zunto::filesystem::parent_directory(path);
    if (std::find(directories.begin(), directories.end(), directory) == directories.end()) {
      directories.push_back(std::move(directory));
    }
  };
  for (const auto& file : files_) {
    add(file);
  }
  // A file behind a link (a dotfiles setup) changes where the link leads, not beside the link.
  for (const auto& file : files_) {
    if (const auto target = zunto::filesystem::resolve_symbolic_links(file)) {
      add(*target);
    }
  }
  return directories;
}

void file_monitor::unregister_stream() {
  if (stream_ != nullptr) {
    platform::fsevents::stream_stop(stream_);
    platform::fsevents::stream_invalidate(stream_);
    platform::fsevents::stream_release(stream_);
    stream_ = nullptr;
  }
}

void file_monitor::static_stream_callback(platform::fsevents::stream_ref /*stream*/, void* info,
                                          std::size_t event_count, const char* const* event_paths,
                                          const platform::fsevents::event_flags* flags,
                                          const platform::fsevents::event_id* /*ids*/) {
  // On the monitor's queue. The destructor erases the monitor on this same queue, so a monitor
  // found alive here stays alive until this returns.
  if (info == nullptr || !impl::file_monitors_manager::alive(info)) {
    return;
  }
  auto* monitor = static_cast<file_monitor*>(info);
  guarded(*monitor->logger_, "stream callback", [&] {
    auto events = std::make_shared<std::vector<fs_event>>();
    events->reserve(event_count);
    for (std::size_t i = 0; i < event_count; ++i) {
      if (event_paths[i] != nullptr) {
        events->emplace_back(event_paths[i], flags[i]);
      }
    }
    monitor->enqueue_to_dispatcher(
        [monitor, events] { guarded(*monitor->logger_, "stream_callback", [&] { monitor->stream_callback(events); }); },
        dispatcher::time_point(1));
  });
}

void file_monitor::stream_callback(const std::shared_ptr<std::vector<fs_event>>& events) {
  for (const auto& event : *events) {
    if ((event.get_flags() & restart_flags) != 0) {
      // Changes may have gone unseen: watch anew, which reads every file again.
      unregister_stream();
      register_stream();
      continue;
    }

    auto changed_file = find_changed_file(event.get_path());
    if (!changed_file) {
      continue;
    }
    auto new_body = update_file_bodies(*changed_file);
    if (!new_body) {
      continue;
    }
    // Written by this process: the new body is kept, so an identical write by someone else later
    // does not count as a change either. The flag tells what the file was when the event was
    // delivered; another process may have replaced it before it was read here.
    if ((event.get_flags() & platform::fsevents::event_flag_own_event) != 0 &&
        platform::fsevents::is_own_write(*changed_file)) {
      continue;
    }
    enqueue_file_changed(*changed_file, *new_body);
  }

  // A link now leads elsewhere: watch where it leads, reading every file again.
  if (stream_ != nullptr && watched_directories() != directories_) {
    unregister_stream();
    register_stream();
  }
}

std::optional<std::string> file_monitor::find_changed_file(const std::string& event_path) {
  if (const auto resolved = real_path(event_path); !resolved.empty()) {
    for (const auto& file : files_) {
      if (real_path(file) == resolved) {
        real_path_map_[event_path] = file;
        return file;
      }
    }
    return std::nullopt;
  }

  // Gone: known from an earlier event, or matched by its folder and name.
  if (auto found = real_path_map_.find(event_path); found != real_path_map_.end()) {
    auto file = std::move(found->second);
    real_path_map_.erase(found);
    return file;
  }
  if (const auto gone = real_parent_and_name(event_path); !gone.empty()) {
    for (const auto& file : files_) {
      if (real_parent_and_name(file) == gone) {
        return file;
      }
    }
  }
  return std::nullopt;
}

std::optional<file_monitor::body> file_monitor::update_file_bodies(const std::string& path) {
  if (std::find(files_.begin(), files_.end(), path) == files_.end()) {
    return std::nullopt;
  }
  auto new_body = read_file(path);
  if (auto found = file_bodies_.find(path); found != file_bodies_.end() && same_body(found->second, new_body)) {
    return std::nullopt;
  }
  file_bodies_[path] = new_body;
  return new_body;
}

void file_monitor::enqueue_file_changed(const std::string& file, const body& new_body) {
  enqueue_to_dispatcher(
      [this, file, new_body] { guarded(*logger_, "file_changed", [&] { file_changed(file, new_body); }); },
      dispatcher::time_point(1));
}

void file_monitor::enqueue_error_occurred(const std::string& message) {
  enqueue_to_dispatcher([this, message] { guarded(*logger_, "error_occurred", [&] { error_occurred(message); }); },
                        dispatcher::time_point(1));
}

} // namespace zunto::osx
