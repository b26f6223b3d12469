#include "platform/notify/notify.hpp"

#include <algorithm>
#include <mutex>

namespace platform::notify {

struct recorder_state {
  mutable std::mutex mutex;
  std::vector<notification> notifications;
};

namespace {

std::mutex observers_mutex;
std::vector<std::shared_ptr<recorder_state>> observers;

} // namespace

void post_distributed_notification(const notification& posted) {
  std::vector<std::shared_ptr<recorder_state>> current;
  {
    std::lock_guard lock(observers_mutex);
    current = observers;
  }
  for (const auto& observer : current) {
    std::lock_guard lock(observer->mutex);
    observer->notifications.push_back(posted);
  }
}

recorder::recorder() : state_(std::make_shared<recorder_state>()) {
  std::lock_guard lock(observers_mutex);
  observers.push_back(state_);
}

recorder::~recorder() {
  std::lock_guard lock(observers_mutex);
  observers.erase(std::remove(observers.begin(), observers.end(), state_), observers.end());
}

std::vector<notification> recorder::notifications() const {
  std::lock_guard lock(state_->mutex);
  return state_->notifications;
}

} // namespace platform::notify
