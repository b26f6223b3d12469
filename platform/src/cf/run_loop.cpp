#include "platform/cf/run_loop.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

namespace platform::cf {
namespace {

class loop_impl;

// Guards every source's list of the loops that have it. Taken before a loop's own mutex, never
// after it.
std::mutex& source_loops_mutex() {
  static std::mutex mutex;
  return mutex;
}

class source_impl final : public run_loop_source {
public:
  explicit source_impl(const run_loop_source_context& context) : context_(context) {}

  void signal() { signalled_.store(true, std::memory_order_release); }
  bool take_signal() { return signalled_.exchange(false, std::memory_order_acq_rel); }

  void perform() const {
    if (context_.perform != nullptr) {
      context_.perform(context_.info);
    }
  }

  // Under source_loops_mutex. Loops are not retained: each takes itself off before it goes.
  std::vector<loop_impl*> loops;

private:
  const run_loop_source_context context_;
  std::atomic<bool> signalled_{false};
};

class loop_impl final : public run_loop {
public:
  ~loop_impl() override {
    {
      std::lock_guard loops_lock(source_loops_mutex());
      for (source_impl* source : sources_) {
        std::erase(source->loops, this);
      }
    }
    for (source_impl* source : sources_) {
      release(source);
    }
  }

  void run();

  void stop() {
    {
      std::lock_guard lock(mutex_);
      stop_pending_ = true;
    }
    cv_.notify_all();
  }

  void wake_up() {
    {
      std::lock_guard lock(mutex_);
      wake_pending_ = true;
    }
    cv_.notify_all();
  }

  bool is_waiting() {
    std::lock_guard lock(mutex_);
    return waiting_;
  }

  void perform_block(std::function<void()> block) {
    std::lock_guard lock(mutex_);
    blocks_.push_back(std::move(block));
  }

  void add_source(source_impl* source) {
    std::lock_guard loops_lock(source_loops_mutex());
    std::lock_guard lock(mutex_);
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) {
      retain(source);
      sources_.push_back(source);
      source->loops.push_back(this);
    }
  }

  void remove_source(source_impl* source) {
    {
      std::lock_guard loops_lock(source_loops_mutex());
      std::erase(source->loops, this);
      std::lock_guard lock(mutex_);
      const auto it = std::find(sources_.begin(), sources_.end(), source);
      if (it == sources_.end()) {
        return;
      }
      sources_.erase(it);
    }
    // Outside the lock: the last release may run code that reaches this loop again.
    release(source);
  }

  bool contains_source(source_impl* source) {
    std::lock_guard lock(mutex_);
    return std::find(sources_.begin(), sources_.end(), source) != sources_.end();
  }

  std::vector<run_loop_source_ref> copy_sources() {
    std::lock_guard lock(mutex_);
    std::vector<run_loop_source_ref> result(sources_.begin(), sources_.end());
    for (run_loop_source_ref source : result) {
      retain(source);
    }
    return result;
  }

private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> blocks_;
  std::vector<source_impl*> sources_; // retained
  bool stop_pending_ = false;
  bool wake_pending_ = false;
  bool waiting_ = false;
};

void loop_impl::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stop_pending_) {
      stop_pending_ = false;
      return;
    }

    // One pass: the blocks handed over so far, then every signalled source. Blocks handed over
    // during the pass wait for the next one.
    bool served = false;
    if (!blocks_.empty()) {
      std::deque<std::function<void()>> batch;
      batch.swap(blocks_);
      lock.unlock();
      for (auto& block : batch) {
        block();
      }
      batch.clear();
      lock.lock();
      served = true;
    }

    std::vector<source_impl*> ready;
    for (source_impl* source : sources_) {
      if (source->take_signal()) {
        retain(source); // it may be removed while it performs
        ready.push_back(source);
      }
    }
    if (!ready.empty()) {
      lock.unlock();
      for (source_impl* source : ready) {
        source->perform();
        release(source);
      }
      lock.lock();
      served = true;
    }

    if (served) {
      continue;
    }
    // Nothing was served, so the lock has been held since the blocks were found empty.
    if (sources_.empty()) {
      return;
    }
    waiting_ = true;
    cv_.wait(lock, [this] { return wake_pending_ || stop_pending_; });
    waiting_ = false;
    wake_pending_ = false;
  }
}

loop_impl* impl(run_loop_ref loop) { return static_cast<loop_impl*>(loop); }
source_impl* impl(run_loop_source_ref source) { return static_cast<source_impl*>(source); }

// The thread's own reference to its loop, given up when the thread ends.
struct current_loop_holder {
  loop_impl* loop = nullptr;

  ~current_loop_holder() { release(loop); }
};

thread_local current_loop_holder current_loop;

} // namespace

run_loop_ref run_loop_get_current() {
  if (current_loop.loop == nullptr) {
    current_loop.loop = new loop_impl();
  }
  return current_loop.loop;
}

void run_loop_run() { impl(run_loop_get_current())->run(); }

void run_loop_stop(run_loop_ref loop) {
  if (loop != nullptr) {
    impl(loop)->stop();
  }
}

void run_loop_wake_up(run_loop_ref loop) {
  if (loop != nullptr) {
    impl(loop)->wake_up();
  }
}

bool run_loop_is_waiting(run_loop_ref loop) { return loop != nullptr && impl(loop)->is_waiting(); }

void run_loop_perform_block(run_loop_ref loop, std::function<void()> block) {
  if (loop != nullptr && block) {
    impl(loop)->perform_block(std::move(block));
  }
}

void run_loop_add_source(run_loop_ref loop, run_loop_source_ref source) {
  if (loop != nullptr && source != nullptr) {
    impl(loop)->add_source(impl(source));
  }
}

void run_loop_remove_source(run_loop_ref loop, run_loop_source_ref source) {
  if (loop != nullptr && source != nullptr) {
    impl(loop)->remove_source(impl(source));
  }
}

bool run_loop_contains_source(run_loop_ref loop, run_loop_source_ref source) {
  return loop != nullptr && source != nullptr && impl(loop)->contains_source(impl(source));
}

std::vector<run_loop_source_ref> run_loop_copy_sources(run_loop_ref loop) {
  return loop == nullptr ? std::vector<run_loop_source_ref>{} : impl(loop)->copy_sources();
}

run_loop_source_ref run_loop_source_create(const run_loop_source_context& context) { return new source_impl(context); }

void run_loop_source_signal(run_loop_source_ref source) {
  if (source != nullptr) {
    impl(source)->signal();
  }
}

void run_loop_source_signal_and_wake_up(run_loop_source_ref source) {
  if (source == nullptr) {
    return;
  }
  impl(source)->signal();
  // A loop cannot finish going while the list is held, so waking it is safe.
  std::lock_guard loops_lock(source_loops_mutex());
  for (loop_impl* loop : impl(source)->loops) {
    loop->wake_up();
  }
}

} // namespace platform::cf
