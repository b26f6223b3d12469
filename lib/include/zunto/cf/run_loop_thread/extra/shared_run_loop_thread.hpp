#pragma once

#include "zunto/cf/run_loop_thread.hpp"

#include <memory>
#include <mutex>

namespace zunto::cf {

// The process-wide run-loop thread that the HID layer schedules on. A nested struct rather than a
// namespace, since run_loop_thread is a class and its `extra` members keep their full names.
struct run_loop_thread::extra final {
  extra() = delete;

  class shared_run_loop_thread final {
  public:
    // The process-wide holder, made empty on first use and never destroyed, so that process exit
    // does not tear down a thread that nobody terminated.
    static std::shared_ptr<shared_run_loop_thread> get_shared_run_loop_thread();

    // Starts the thread when there is none.
    void initialize();
    // Terminates and drops the thread when there is one.
    void terminate();
    // A copy of the held pointer; empty when not initialised.
    std::shared_ptr<run_loop_thread> get_run_loop_thread() const;

  private:
    // Serialises initialize and terminate; held while the thread is started or joined.
    std::mutex lifecycle_mutex_;
    std::shared_ptr<run_loop_thread> run_loop_thread_;
    // Guards the pointer only, so that reading it never waits for a join.
    mutable std::mutex mutex_;
  };

  static void initialize_shared_run_loop_thread();
  static void terminate_shared_run_loop_thread();
  // Empty while the shared thread is not initialised.
  static std::shared_ptr<run_loop_thread> get_shared_run_loop_thread();
};

} // namespace zunto::cf
