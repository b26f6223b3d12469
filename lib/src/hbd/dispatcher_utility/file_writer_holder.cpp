#include "hbd/dispatcher_utility/file_writer_holder.hpp"

#include <utility>

namespace hbd::dispatcher_utility {

// Both are never freed: writes still queued at process exit run on the writer's thread while the
// process ends, and must find the writer and its mutex in place.
std::shared_ptr<file_writer>& get_file_writer() {
  static auto* const writer = new std::shared_ptr<file_writer>();
  return *writer;
}

std::mutex& get_file_writer_mutex() {
  static auto* const mutex = new std::mutex();
  return *mutex;
}

bool enqueue_to_file_writer_dispatcher(std::function<void()> function) {
  std::lock_guard lock(get_file_writer_mutex());
  if (auto& writer = get_file_writer()) {
    writer->enqueue(std::move(function));
    return true;
  }
  return false;
}

} // namespace hbd::dispatcher_utility
