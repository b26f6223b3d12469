#pragma once

#include "platform/cf/run_loop.hpp"
#include "zunto/cf/cf_ptr.hpp"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zunto::cf {

// A thread that does nothing but run its own run loop, on which sources are scheduled and to which
// blocks are sent. terminate() must be called before destruction; destroying a thread that still
// runs aborts the process.
class run_loop_thread final {
public:
  // The shared run-loop thread and its holder (zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp).
  struct extra;

  // Returns once the run loop is running, so work handed over afterwards is served. Aborts when the
  // loop has not started within 3 seconds.
  run_loop_thread();
  ~run_loop_thread();

  run_loop_thread(const run_loop_thread&) = delete;
  run_loop_thread& operator=(const run_loop_thread&) = delete;

  // Stops the run loop and joins the thread. Calling it again is harmless.
  void terminate();

  // Each of these wakes the run loop afterwards. Blocks run on the run-loop thread, one at a time.
  void enqueue(std::function<void()> block) const;
  void add_source(platform::cf::run_loop_source_ref source) const;
  void remove_source(platform::cf::run_loop_source_ref source) const;

  // For calls that schedule their own objects on the loop; the caller wakes it afterwards.
  platform::cf::run_loop_ref get_run_loop() const;

private:
  void run();
  // The start-up source's perform: runs only inside the running loop.
  void note_running();

  std::thread thread_;
  cf_ptr<platform::cf::run_loop_ref> run_loop_;
  cf_ptr<platform::cf::run_loop_source_ref> run_loop_source_;
  mutable std::mutex mutex_;
  // Notified once running_ becomes true.
  std::condition_variable state_changed_;
  // Set by the start-up source, under mutex_. A member rather than a local of the constructor: the
  // source may fire again after the constructor has returned, and the thread is joined before this
  // object goes.
  bool running_ = false;
};

} // namespace zunto::cf
