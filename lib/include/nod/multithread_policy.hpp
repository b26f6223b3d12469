#pragma once

#include <mutex>
#include <thread>

namespace nod {

// Signals guard their slot list with a mutex, so any thread may connect, disconnect and emit.
struct multithread_policy {
  using mutex_type = std::mutex;
  using mutex_lock_type = std::unique_lock<mutex_type>;

  static void yield_thread() { std::this_thread::yield(); }
};

} // namespace nod
