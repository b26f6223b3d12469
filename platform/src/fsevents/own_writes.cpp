#include "platform/fsevents/own_writes.hpp"

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace platform::fsevents {
namespace {

struct identity {
  std::uint64_t device;
  std::uint64_t inode;
  std::int64_t size;
  std::int64_t modified_seconds;
  std::int64_t modified_nanoseconds;

  bool operator==(const identity&) const = default;
};

std::optional<identity> identify(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return std::nullopt;
  }
  return identity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                  static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                  static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

// The most recent writes, newest last. A file replaced since is simply never matched again; the cap
// keeps a long-running writer from growing the list without end.
class registry final {
public:
  void note(const identity& value) {
    std::lock_guard lock(mutex_);
    for (auto it = identities_.begin(); it != identities_.end(); ++it) {
      if (it->device == value.device && it->inode == value.inode) {
        identities_.erase(it);
        break;
      }
    }
    identities_.push_back(value);
    if (identities_.size() > capacity) {
      identities_.pop_front();
    }
  }

  bool contains(const identity& value) const {
    std::lock_guard lock(mutex_);
    for (const auto& entry : identities_) {
      if (entry == value) {
        return true;
      }
    }
    return false;
  }

private:
  static constexpr std::size_t capacity = 256;

  mutable std::mutex mutex_;
  std::deque<identity> identities_;
};

registry& get_registry() {
  // Never destroyed: stream threads may still ask while the process exits.
  static registry* instance = new registry;
  return *instance;
}

} // namespace

void note_own_write(const std::string& path) noexcept {
  // Only a note: failing to keep it must not fail the write that made it.
  try {
    if (auto value = identify(path)) {
      get_registry().note(*value);
    }
  } catch (...) {
  }
}

bool is_own_write(const std::string& path) {
  if (auto value = identify(path)) {
    return get_registry().contains(*value);
  }
  return false;
}

} // namespace platform::fsevents
