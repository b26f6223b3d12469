#include "platform/workspace/workspace.hpp"

#include <list>
#include <mutex>
#include <vector>

namespace platform::workspace {

namespace {

struct state {
  std::mutex mutex;
  std::optional<running_application> frontmost;
  std::list<std::weak_ptr<observer>> observers;
};

state& get_state() {
  static auto* const s = new state();
  return *s;
}

} // namespace

std::optional<running_application> frontmost_application() {
  auto& s = get_state();
  std::lock_guard lock(s.mutex);
  return s.frontmost;
}

observer_token observe_did_activate_application(observer function) {
  auto shared = std::make_shared<observer>(std::move(function));
  auto& s = get_state();
  std::lock_guard lock(s.mutex);
  s.observers.push_back(shared);
  return observer_token(shared);
}

void activate(const running_application& application) {
  {
    auto& s = get_state();
    std::lock_guard lock(s.mutex);
    s.frontmost = application;
  }
  post_did_activate_application({user_info{application}});
}

void post_did_activate_application(const did_activate_application_notification& notification) {
  std::vector<std::shared_ptr<observer>> observers;
  {
    auto& s = get_state();
    std::lock_guard lock(s.mutex);
    s.observers.remove_if([](const auto& weak) { return weak.expired(); });
    for (const auto& weak : s.observers) {
      if (auto o = weak.lock()) {
        observers.push_back(std::move(o));
      }
    }
  }
  // Outside the lock: an observer may look at the frontmost application.
  for (const auto& o : observers) {
    (*o)(notification);
  }
}

void reset() {
  auto& s = get_state();
  std::lock_guard lock(s.mutex);
  s.frontmost = std::nullopt;
}

} // namespace platform::workspace
