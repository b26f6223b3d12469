#include "inotify_watcher.hpp"

#include "descriptor_closer.hpp"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <system_error>
#include <utility>

namespace platform::fsevents {
namespace {

constexpr std::uint32_t content_mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr std::uint32_t self_mask = IN_DELETE_SELF | IN_MOVE_SELF;
constexpr std::uint32_t gone_mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

// Distinct paths gathered before a delivery; past it the batch becomes a "rescan everything".
constexpr std::size_t pending_capacity = 4096;

std::string parent_of(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) {
    return "/";
  }
  return path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string join(const std::string& directory, const std::string& name) {
  return directory == "/" ? "/" + name : directory + "/" + name;
}

// Lexically absolute, without trailing slashes, so that walking up always ends at "/".
std::string absolute(std::string path) {
  if (path.empty() || path.front() != '/') {
    char cwd[PATH_MAX];
    const std::string base = ::getcwd(cwd, sizeof(cwd)) != nullptr ? cwd : "/";
    path = path.empty() ? base : join(base, path);
  }
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

// The resolved path of an existing directory; otherwise nothing, with errno telling why.
bool resolve_directory(const std::string& path, std::string& resolved) {
  char buffer[PATH_MAX];
  if (::realpath(path.c_str(), buffer) == nullptr) {
    return false;
  }
  struct stat status {};
  if (::stat(buffer, &status) != 0) {
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  resolved = buffer;
  return true;
}

bool missing(int error) { return error == ENOENT || error == ENOTDIR; }

event_flags flags_of(std::uint32_t mask) {
  event_flags flags = (mask & IN_ISDIR) != 0 ? event_flag_item_is_dir : event_flag_item_is_file;
  if ((mask & IN_CREATE) != 0) {
    flags |= event_flag_item_created;
  }
  if ((mask & IN_DELETE) != 0) {
    flags |= event_flag_item_removed;
  }
  if ((mask & (IN_MOVED_FROM | IN_MOVED_TO)) != 0) {
    flags |= event_flag_item_renamed;
  }
  if ((mask & IN_CLOSE_WRITE) != 0) {
    flags |= event_flag_item_modified;
  }
  if ((mask & IN_ATTRIB) != 0) {
    flags |= event_flag_item_inode_meta_mod;
  }
  return flags;
}

} // namespace

std::unique_ptr<inotify_watcher> inotify_watcher::start(std::vector<std::string> roots,
                                                        std::chrono::nanoseconds latency, create_flags flags,
                                                        deliver_function deliver) {
  std::unique_ptr<inotify_watcher> watcher(new inotify_watcher(std::move(roots), latency, flags, std::move(deliver)));
  watcher->wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (watcher->wake_fd_ < 0 || !watcher->build_watches()) {
    // Closing what was opened must not lose why it failed.
    const int error = errno;
    watcher.reset();
    errno = error;
    return nullptr;
  }
  try {
    watcher->thread_ = std::thread([w = watcher.get()] { w->run(); });
  } catch (const std::system_error& e) {
    watcher.reset();
    errno = e.code().value();
    return nullptr;
  }
  return watcher;
}

inotify_watcher::inotify_watcher(std::vector<std::string> roots, std::chrono::nanoseconds latency, create_flags flags,
                                 deliver_function deliver)
    : roots_(std::move(roots)), latency_(latency), flags_(flags), deliver_(std::move(deliver)) {}

inotify_watcher::~inotify_watcher() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    // An eventfd write fails only when the counter would overflow, which one write cannot do.
    [[maybe_unused]] const auto written = ::write(wake_fd_, &one, sizeof(one));
    thread_.join();
  }
  if (inotify_fd_ >= 0) {
    release(inotify_fd_, roles_);
  }
  if (wake_fd_ >= 0) {
    ::close(wake_fd_);
  }
}

bool inotify_watcher::build_watches() {
  // A fresh descriptor: nothing queued for the old watches can be mistaken for the new ones. It is
  // watching before the old one goes, and the old one is read once more before it is closed, so
  // no change falls between the two.
  const int old_fd = inotify_fd_;
  const roles_map old_roles = std::move(roles_);
  roles_.clear();
  std::unordered_set<std::size_t> returned;
  returned.swap(changed_roots_);

  inotify_fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  bool built = inotify_fd_ >= 0;
  for (std::size_t index = 0; built && index < roots_.size(); ++index) {
    built = watch_root(index, returned.count(index) != 0);
  }
  const int error = errno;
  if (old_fd >= 0) {
    read_events(old_fd, old_roles);
    release(old_fd, old_roles);
  }
  errno = error;
  return built;
}

void inotify_watcher::release(int fd, const roles_map& roles) {
  // Removed watches are let go of by the kernel together, so the closes that follow wait for it
  // once for the lot rather than once each.
  for (const auto& entry : roles) {
    ::inotify_rm_watch(fd, entry.first);
  }
  descriptor_closer::get().close_later(fd);
}

bool inotify_watcher::watch_root(std::size_t index, bool returned) {
  const std::string path = absolute(roots_[index]);
  std::string resolved;
  if (resolve_directory(path, resolved)) {
    if (!add_watch(resolved, content_mask | self_mask | IN_ONLYDIR, role{role_kind::content, index, resolved, {}})) {
      // Removed or replaced by a file since it was resolved: wait for it like a missing one.
      if (!missing(errno)) {
        return false;
      }
    } else {
      // Whatever the folder came back with, or got before this watch, has made no event.
      if (returned) {
        report_contents(resolved);
      }
      return watch_ancestors(resolved, index);
    }
  } else if (!missing(errno)) {
    return false;
  }

  // Missing: watch the nearest existing folder above for the next name down to appear.
  std::string child = path;
  for (;;) {
    const std::string parent = parent_of(child);
    std::string resolved_parent;
    if (resolve_directory(parent, resolved_parent)) {
      const std::string name = name_of(child);
      if (!add_watch(resolved_parent, IN_CREATE | IN_MOVED_TO | self_mask | IN_ONLYDIR,
                     role{role_kind::awaiting, index, {}, name})) {
        if (!missing(errno)) {
          return false;
        }
      } else {
        // Made between the look and the watch: no event will come for it, so act now.
        struct stat status {};
        if (::stat(join(resolved_parent, name).c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
          root_changed(index);
        }
        return watch_ancestors(resolved_parent, index);
      }
    } else if (!missing(errno)) {
      return false;
    }
    if (parent == child) {
      return true; // not even "/": nothing to watch
    }
    child = parent;
  }
}

bool inotify_watcher::add_watch(const std::string& path, std::uint32_t mask, role value) {
  const int wd = ::inotify_add_watch(inotify_fd_, path.c_str(), mask | IN_MASK_ADD);
  if (wd < 0) {
    return false;
  }
  roles_[wd].push_back(std::move(value));
  return true;
}

bool inotify_watcher::watch_ancestors(const std::string& directory, std::size_t index) {
  if ((flags_ & create_flag_watch_root) == 0) {
    return true;
  }
  // Best effort: a folder above that cannot be watched only loses the notice of its renaming.
  std::string current = directory;
  while (current != "/") {
    current = parent_of(current);
    add_watch(current, self_mask, role{role_kind::ancestor, index, {}, {}});
  }
  return true;
}

void inotify_watcher::report_contents(const std::string& directory) {
  if ((flags_ & create_flag_file_events) == 0) {
    add(directory, event_flag_must_scan_subdirs);
    return;
  }
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(directory.c_str()), ::closedir);
  if (!listing) {
    return; // gone again: its watch reports that
  }
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    const std::string path = join(directory, name);
    bool is_directory = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat status {};
      is_directory = ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }
    add(path, event_flag_item_created | (is_directory ? event_flag_item_is_dir : event_flag_item_is_file));
  }
}

void inotify_watcher::run() {
  for (;;) {
    try {
      if (rebuild_) {
        rebuild_ = false;
        if (!build_watches()) {
          std::fprintf(stderr, "file event stream: cannot watch the directories again: %s\n", std::strerror(errno));
        }
      }
      pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {inotify_fd_, POLLIN, 0}};
      timespec timeout{};
      timespec* timeout_pointer = nullptr;
      if (!pending_.empty()) {
        const auto remaining =
            std::max(deadline_ - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(remaining).count();
        timeout.tv_sec = static_cast<time_t>(nanoseconds / 1'000'000'000);
        timeout.tv_nsec = static_cast<long>(nanoseconds % 1'000'000'000);
        timeout_pointer = &timeout;
      }
      const int ready = ::ppoll(fds, 2, timeout_pointer, nullptr);
      if (ready < 0 && errno != EINTR) {
        std::fprintf(stderr, "file event stream: poll failed: %s\n", std::strerror(errno));
        return;
      }
      if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
        return;
      }
      if (ready > 0 && (fds[1].revents & POLLIN) != 0) {
        read_events(inotify_fd_, roles_);
      }
      if (!pending_.empty() && std::chrono::steady_clock::now() >= deadline_) {
        std::vector<raw_event> batch;
        batch.swap(pending_);
        pending_index_.clear();
        dropping_ = false;
        deliver_(std::move(batch));
      }
    } catch (const std::exception& e) {
      // Whatever was gathered is lost; the thread goes on serving the stream.
      std::fprintf(stderr, "file event stream: %s\n", e.what());
      pending_.clear();
      pending_index_.clear();
    }
  }
}

void inotify_watcher::read_events(int fd, const roles_map& roles) {
  alignas(inotify_event) char buffer[64 * 1024];
  for (;;) {
    const ssize_t size = ::read(fd, buffer, sizeof(buffer));
    if (size < 0 && errno == EINTR) {
      continue;
    }
    if (size <= 0) {
      return; // EAGAIN: drained
    }
    for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= size;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      // The name is padded with NULs to the record's length.
      const std::string name = event->len > 0 ? std::string(event->name) : std::string();
      translate(roles, event->mask, event->wd, name);
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

void inotify_watcher::translate(const roles_map& roles, std::uint32_t mask, int wd, const std::string& name) {
  if ((mask & IN_Q_OVERFLOW) != 0) {
    drop_everything(event_flag_kernel_dropped | event_flag_must_scan_subdirs);
    return;
  }
  const auto found = roles.find(wd);
  if (found == roles.end()) {
    return;
  }
  const bool gone = (mask & gone_mask) != 0;
  for (const auto& r : found->second) {
    switch (r.kind) {
      case role_kind::content:
        if (!name.empty() && (mask & content_mask) != 0) {
          if ((flags_ & create_flag_file_events) != 0) {
            add(join(r.directory, name), flags_of(mask));
          } else {
            add(r.directory, event_flag_must_scan_subdirs);
          }
        }
        break;
      case role_kind::ancestor:
        break;
      case role_kind::awaiting:
        if (!name.empty() && name == r.child && (mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
          root_changed(r.root);
        }
        break;
    }
    if (gone) {
      root_changed(r.root);
    }
  }
}

void inotify_watcher::root_changed(std::size_t index) {
  rebuild_ = true;
  changed_roots_.insert(index);
  if ((flags_ & create_flag_watch_root) != 0) {
    add(roots_[index], event_flag_root_changed);
  }
}

void inotify_watcher::add(const std::string& path, event_flags flags) {
  if (dropping_) {
    return;
  }
  if (pending_.empty()) {
    deadline_ = std::chrono::steady_clock::now() + latency_;
  }
  if (const auto found = pending_index_.find(path); found != pending_index_.end()) {
    pending_[found->second].flags |= flags;
    return;
  }
  if (pending_.size() >= pending_capacity) {
    drop_everything(event_flag_user_dropped | event_flag_must_scan_subdirs);
    return;
  }
  pending_index_.emplace(path, pending_.size());
  pending_.push_back({path, flags});
}

void inotify_watcher::drop_everything(event_flags flags) {
  if (pending_.empty()) {
    deadline_ = std::chrono::steady_clock::now() + latency_;
  }
  pending_.clear();
  pending_index_.clear();
  for (const auto& root : roots_) {
    pending_.push_back({root, flags});
  }
  dropping_ = true;
}

} // namespace platform::fsevents
