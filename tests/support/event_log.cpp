#include "support/event_log.hpp"

#include <algorithm>

namespace hbd_test {

void event_log::push(std::string text) {
  std::lock_guard lock(mutex_);
  texts_.push_back(std::move(text));
  changed_.notify_all();
}

bool event_log::wait_for_size(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return texts_.size() >= count; });
}

bool event_log::wait_for(const std::string& text, std::chrono::milliseconds timeout) const {
  return wait_for_count(text, 1, timeout);
}

bool event_log::wait_for_count(const std::string& text, std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout,
                           [&] { return static_cast<std::size_t>(std::ranges::count(texts_, text)) >= count; });
}

std::vector<std::string> event_log::texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

std::size_t event_log::count(const std::string& text) const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::ranges::count(texts_, text));
}

void event_log::clear() {
  std::lock_guard lock(mutex_);
  texts_.clear();
}

} // namespace hbd_test
