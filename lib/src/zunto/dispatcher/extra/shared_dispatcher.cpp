#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <utility>

namespace zunto::dispatcher::extra {

std::shared_ptr<shared_dispatcher> shared_dispatcher::get_shared_dispatcher() {
  // Never freed: at process exit its worker may still run jobs (or be the thread calling exit), and
  // destroying it there would stop the worker from under them.
  static auto* const holder = new std::shared_ptr<shared_dispatcher>(std::make_shared<shared_dispatcher>());
  return *holder;
}

void shared_dispatcher::initialize() {
  std::lock_guard lifecycle(lifecycle_mutex_);
  std::lock_guard lock(pointers_mutex_);
  if (!time_source_) {
    time_source_ = std::make_shared<hardware_time_source>();
  }
  if (!dispatcher_) {
    dispatcher_ = std::make_shared<dispatcher>(time_source_);
  }
}

void shared_dispatcher::terminate() {
  std::lock_guard lifecycle(lifecycle_mutex_);
  std::shared_ptr<dispatcher> old_dispatcher;
  {
    std::lock_guard lock(pointers_mutex_);
    old_dispatcher = std::move(dispatcher_);
  }
  if (old_dispatcher) {
    old_dispatcher->terminate();
    old_dispatcher.reset();
  }
  // The clock goes only after the worker has stopped reading it.
  std::shared_ptr<hardware_time_source> old_time_source;
  {
    std::lock_guard lock(pointers_mutex_);
    old_time_source = std::move(time_source_);
  }
}

std::shared_ptr<dispatcher> shared_dispatcher::get_dispatcher() const {
  std::lock_guard lock(pointers_mutex_);
  return dispatcher_;
}

} // namespace zunto::dispatcher::extra
