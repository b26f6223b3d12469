#include "support/event_log.hpp"

#include <algorithm>

namespace hbd_test {

void event_log::add(const std::string& event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  changed_.notify_all();
}

bool event_log::wait_for(const std::string& event, std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    return static_cast<std::size_t>(std::count(events_.begin(), events_.end(), event)) >= count;
  });
}

std::size_t event_log::count(const std::string& event) const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::count(events_.begin(), events_.end(), event));
}

std::vector<std::string> event_log::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

void event_log::clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

} // namespace hbd_test
