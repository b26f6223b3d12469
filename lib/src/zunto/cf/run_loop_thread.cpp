#include "zunto/cf/run_loop_thread.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace zunto::cf {

run_loop_thread::run_loop_thread() {
  thread_ = std::thread([this] { run(); });

  // A steady clock, so that a change of the wall clock neither hides a stuck start nor fakes one.
  // Woken once the start-up source has performed: the thread signals it before its loop runs.
  std::unique_lock lock(mutex_);
  if (!state_changed_.wait_until(lock, std::chrono::steady_clock::now() + std::chrono::microseconds(3000001),
                                 [this] { return running_; })) {
    std::fputs("zunto::cf::run_loop_thread: the run loop did not start within 3 seconds\n", stderr);
    std::abort();
  }
}

run_loop_thread::~run_loop_thread() {
  if (thread_.joinable()) {
    std::fputs("zunto::cf::run_loop_thread is destroyed without terminate()\n", stderr);
    std::abort();
  }
  run_loop_source_.reset();
  run_loop_.reset();
}

void run_loop_thread::terminate() {
  // The stop has to happen on the loop's own thread, from inside its run.
  const platform::cf::run_loop_ref loop = run_loop_.get();
  platform::cf::run_loop_perform_block(loop, [loop] { platform::cf::run_loop_stop(loop); });
  platform::cf::run_loop_wake_up(loop);

  if (thread_.joinable()) {
    thread_.join();
  }
}

void run_loop_thread::enqueue(std::function<void()> block) const {
  platform::cf::run_loop_perform_block(run_loop_.get(), std::move(block));
  platform::cf::run_loop_wake_up(run_loop_.get());
}

void run_loop_thread::add_source(platform::cf::run_loop_source_ref source) const {
  platform::cf::run_loop_add_source(run_loop_.get(), source);
  platform::cf::run_loop_wake_up(run_loop_.get());
}

void run_loop_thread::remove_source(platform::cf::run_loop_source_ref source) const {
  platform::cf::run_loop_remove_source(run_loop_.get(), source);
  platform::cf::run_loop_wake_up(run_loop_.get());
}

platform::cf::run_loop_ref run_loop_thread::get_run_loop() const { return run_loop_.get(); }

void run_loop_thread::run() {
  platform::cf::run_loop_source_context context;
  context.info = this;
  context.perform = [](void* info) { static_cast<run_loop_thread*>(info)->note_running(); };

  {
    std::lock_guard lock(mutex_);
    run_loop_ = cf_ptr(platform::cf::run_loop_get_current());
    const platform::cf::run_loop_source_ref source = platform::cf::run_loop_source_create(context);
    run_loop_source_ = cf_ptr(source);
    platform::cf::release(source);
    platform::cf::run_loop_add_source(run_loop_.get(), run_loop_source_.get());
    // Performed by the loop's first pass: the constructor learns that the loop runs without first
    // being woken to signal it.
    platform::cf::run_loop_source_signal(run_loop_source_.get());
  }

  platform::cf::run_loop_run();

  platform::cf::run_loop_remove_source(run_loop_.get(), run_loop_source_.get());
}

void run_loop_thread::note_running() {
  {
    std::lock_guard lock(mutex_);
    running_ = true;
  }
  state_changed_.notify_all();
}

} // namespace zunto::cf
