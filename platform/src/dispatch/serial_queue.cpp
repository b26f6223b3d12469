#include "platform/dispatch/serial_queue.hpp"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace platform::dispatch {

// Shared with the thread and with callers of sync, so that a queue destroyed from one of its own
// blocks leaves them something to finish with.
struct serial_queue::state {
  explicit state(std::string queue_label) : label(std::move(queue_label)) {}

  const std::string label;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<std::function<void()>> blocks;
  // A block is running, on the queue's thread or inline in a caller of sync.
  bool running = false;
  bool exit = false;
  bool thread_started = false;
  // The thread running the current block; empty between blocks.
  std::thread::id running_thread_id;
};

namespace {

void run_block(const std::string& label, const std::function<void()>& block) noexcept {
  // An exception must not end the thread: the queue serves every later block too.
  try {
    block();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "serial queue %s: a block failed: %s\n", label.c_str(), e.what());
  } catch (...) {
    std::fprintf(stderr, "serial queue %s: a block failed\n", label.c_str());
  }
}

} // namespace

serial_queue::serial_queue(std::string label) : state_(std::make_shared<state>(std::move(label))) {}

serial_queue::~serial_queue() {
  std::unique_lock lock(state_->mutex);
  state_->exit = true;
  state_->cv.notify_all();
  if (std::this_thread::get_id() == state_->running_thread_id) {
    return;
  }
  // Wait until the queued blocks have run; the thread then only returns.
  state_->cv.wait(lock, [&] { return state_->blocks.empty() && !state_->running; });
}

void serial_queue::start_thread() {
  // Started with the first queued block: a queue that only ever runs sync blocks needs none.
  // Joined by nobody: the destructor waits for the thread's last block through the state instead,
  // which also works when the destructor runs on the thread itself.
  std::thread([s = state_] {
    std::unique_lock lock(s->mutex);
    for (;;) {
      s->cv.wait(lock, [&] { return (s->exit && s->blocks.empty()) || (!s->blocks.empty() && !s->running); });
      if (s->blocks.empty()) {
        return; // exit, and nothing left to run
      }
      auto block = std::move(s->blocks.front());
      s->blocks.pop_front();
      s->running = true;
      s->running_thread_id = std::this_thread::get_id();
      lock.unlock();
      run_block(s->label, block);
      block = nullptr; // captures go before the lock is taken again
      lock.lock();
      s->running = false;
      s->running_thread_id = {};
      s->cv.notify_all();
    }
  }).detach();
  state_->thread_started = true;
}

void serial_queue::async(std::function<void()> block) {
  if (!block) {
    return;
  }
  std::lock_guard lock(state_->mutex);
  state_->blocks.push_back(std::move(block));
  if (!state_->thread_started) {
    start_thread();
  }
  // Under the lock: once it is released the block may run and destroy this queue.
  state_->cv.notify_all();
}

void serial_queue::sync(const std::function<void()>& block) {
  if (!block) {
    return;
  }
  if (current()) {
    block();
    return;
  }
  {
    // The block may destroy this queue; what follows it uses only the state.
    const auto s = state_;
    std::unique_lock lock(s->mutex);
    if (s->blocks.empty() && !s->running) {
      // Idle: the block runs here, as the queue's, with nothing else of the queue beside it.
      s->running = true;
      s->running_thread_id = std::this_thread::get_id();
      lock.unlock();
      run_block(s->label, block);
      lock.lock();
      s->running = false;
      s->running_thread_id = {};
      lock.unlock();
      s->cv.notify_all();
      return;
    }
  }
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
  async([&] {
    // Signalled on every way out, so the caller never waits for a block that failed.
    struct signal_done {
      std::mutex& mutex;
      std::condition_variable& cv;
      bool& done;
      ~signal_done() {
        std::lock_guard lock(mutex);
        done = true;
        cv.notify_all();
      }
    } signal{mutex, cv, done};
    block();
  });
  std::unique_lock lock(mutex);
  cv.wait(lock, [&] { return done; });
}

const std::string& serial_queue::label() const { return state_->label; }

bool serial_queue::current() const {
  std::lock_guard lock(state_->mutex);
  return std::this_thread::get_id() == state_->running_thread_id;
}

} // namespace platform::dispatch
