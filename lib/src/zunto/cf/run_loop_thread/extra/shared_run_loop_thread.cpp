#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"

namespace zunto::cf {

std::shared_ptr<run_loop_thread::extra::shared_run_loop_thread>
run_loop_thread::extra::shared_run_loop_thread::get_shared_run_loop_thread() {
  // Static initialisation is serialised by the language; the pointer is deliberately never freed.
  static auto* const holder = new std::shared_ptr<shared_run_loop_thread>(std::make_shared<shared_run_loop_thread>());
  return *holder;
}

void run_loop_thread::extra::shared_run_loop_thread::initialize() {
  std::lock_guard lock(mutex_);
  if (!run_loop_thread_) {
    run_loop_thread_ = std::make_shared<run_loop_thread>();
  }
}

void run_loop_thread::extra::shared_run_loop_thread::terminate() {
  std::lock_guard lock(mutex_);
  if (run_loop_thread_) {
    run_loop_thread_->terminate();
    run_loop_thread_ = nullptr;
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
