#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"

#include <utility>

namespace zunto::cf {

std::shared_ptr<run_loop_thread::extra::shared_run_loop_thread> run_loop_thread::extra::shared_run_loop_thread::
    get_shared_run_loop_thread() {
  // Static initialisation is serialised by the language; the pointer is deliberately never freed.
  static auto* const holder = new std::shared_ptr<shared_run_loop_thread>(std::make_shared<shared_run_loop_thread>());
  return *holder;
}

void run_loop_thread::extra::shared_run_loop_thread::initialize() {
  std::lock_guard lifecycle(lifecycle_mutex_);
  if (get_run_loop_thread()) {
    return;
  }
  auto thread = std::make_shared<run_loop_thread>();
  std::lock_guard lock(mutex_);
  run_loop_thread_ = std::move(thread);
}

void run_loop_thread::extra::shared_run_loop_thread::terminate() {
  std::lock_guard lifecycle(lifecycle_mutex_);
  // Taken out before the join: a block on that thread that reads the holder must not wait for it.
  std::shared_ptr<run_loop_thread> thread;
  {
    std::lock_guard lock(mutex_);
    thread = std::move(run_loop_thread_);
  }
  if (thread) {
    thread->terminate();
  }
}

std::shared_ptr<run_loop_thread> run_loop_thread::extra::shared_run_loop_thread::get_run_loop_thread() const {
  std::lock_guard lock(mutex_);
  return run_loop_thread_;
}

void run_loop_thread::extra::initialize_shared_run_loop_thread() {
  shared_run_loop_thread::get_shared_run_loop_thread()->initialize();
}

void run_loop_thread::extra::terminate_shared_run_loop_thread() {
  shared_run_loop_thread::get_shared_run_loop_thread()->terminate();
}

std::shared_ptr<run_loop_thread> run_loop_thread::extra::get_shared_run_loop_thread() {
  return shared_run_loop_thread::get_shared_run_loop_thread()->get_run_loop_thread();
}

} // namespace zunto::cf
