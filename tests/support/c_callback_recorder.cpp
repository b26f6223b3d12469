#include "support/c_callback_recorder.hpp"

namespace hbd_test {

void c_callback_recorder::path_callback(const char* path, void* context) {
  static_cast<c_callback_recorder*>(context)->record(path);
}

void c_callback_recorder::context_callback(void* context) { static_cast<c_callback_recorder*>(context)->record(""); }

void c_callback_recorder::set_action(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  action_ = std::move(action);
}

void c_callback_recorder::record(const char* path) {
  std::function<void()> action;
  {
    std::lock_guard lock(mutex_);
    calls_.push_back({path != nullptr ? path : "(null)", std::this_thread::get_id()});
    action = action_;
  }
  if (action) {
    action();
  }
  // Notified under the lock: a waiter may destroy this recorder as soon as it returns.
  std::lock_guard lock(mutex_);
  ++finished_;
  changed_.notify_all();
}

bool c_callback_recorder::wait_for(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return finished_ >= count; });
}

std::size_t c_callback_recorder::size() const {
  std::lock_guard lock(mutex_);
  return calls_.size();
}

std::vector<c_callback_recorder::call> c_callback_recorder::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::string> c_callback_recorder::paths() const {
  std::vector<std::string> result;
  for (auto& c : calls()) {
    result.push_back(std::move(c.path));
  }
  return result;
}

} // namespace hbd_test
