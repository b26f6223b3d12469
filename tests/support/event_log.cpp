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
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return std::ranges::find(texts_, text) != texts_.end(); });
}

std::vector<std::string> event_log::texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

} // namespace hbd_test
