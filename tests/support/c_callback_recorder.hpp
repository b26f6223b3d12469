#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hbd_test {

// Keeps every call of a C callback that hands over a path and a context; the context given to
// the library is the recorder itself, so it must outlive the member that calls it.
class c_callback_recorder final {
public:
  struct call {
    std::string path;
    std::thread::id thread;
  };

  // For callbacks of the form (const char* path, void* context).
  static void path_callback(const char* path, void* context);
  // For callbacks that hand over the context alone; the call is kept with an empty path.
  static void context_callback(void* context);

  void* context() { return this; }

  // Runs on the library's thread inside each call, after the call has been kept.
  void set_action(std::function<void()> action);

  // Blocks until at least `count` calls have returned; false when the time runs out.
  bool wait_for(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  std::size_t size() const;
  std::vector<call> calls() const;
  std::vector<std::string> paths() const;

  void record(const char* path);

private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<call> calls_;
  std::size_t finished_ = 0;
  std::function<void()> action_;
};

} // namespace hbd_test
