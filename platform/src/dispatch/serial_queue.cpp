#include "platform/dispatch/serial_queue.hpp"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace platform::dispatch {

// Shared with the thread, so that a queue destroyed from one of its own blocks leaves the thread
// something to finish with.
struct serial_queue::state {
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<std::function<void()>> blocks;
  bool exit = false;
  std::thread::id thread_id;
};

namespace {

void run_block(const std::string& label, std::function<void()>& block) noexcept {
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

serial_queue::serial_queue(std::string label) : label_(std::move(label)), state_(std::make_shared<state>()) {
  std::thread thread([s = state_, label = label_] {
    std::unique_lock lock(s->mutex);
    for (;;) {
      s->cv.wait(lock, [&] { return s->exit || !s->blocks.empty(); });
      if (s->blocks.empty()) {
        return; // exit, and nothing left to run
      }
      auto block = std::move(s->blocks.front());
      s->blocks.pop_front();
      lock.unlock();
      run_block(label, block);
      block = nullptr; // captures go before the lock is taken again
      lock.lock();
    }
  });
  {
    std::lock_guard lock(state_->mutex);
    state_->thread_id = thread.get_id();
  }
  // Joined by nobody: the destructor waits for the thread's last block through the state instead,
  // which also works when the destructor runs on the thread itself.
  thread.detach();
}

serial_queue::~serial_queue() {
  std::unique_lock lock(state_->mutex);
  state_->exit = true;
  state_->cv.notify_all();
  if (std::this_thread::get_id() == state_->thread_id) {
    return;
  }
  // Wait until the queued blocks have run; the thread then only returns.
  auto done = std::make_shared<bool>(false);
  auto done_cv = std::make_shared<std::condition_variable>();
  state_->blocks.emplace_back([s = state_, done, done_cv] {
    std::lock_guard inner(s->mutex);
    *done = true;
    done_cv->notify_all();
  });
  state_->cv.notify_all();
  done_cv->wait(lock, [&] { return *done; });
}

void serial_queue::async(std::function<void()> block) {
  if (!block) {
    return;
  }
  {
    std::lock_guard lock(state_->mutex);
    state_->blocks.push_back(std::move(block));
  }
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

bool serial_queue::current() const {
  std::lock_guard lock(state_->mutex);
  return std::this_thread::get_id() == state_->thread_id;
}

} // namespace platform::dispatch
