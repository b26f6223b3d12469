#include "hbd/dispatcher_utility/file_writer_holder.hpp"

#include <utility>

namespace hbd::dispatcher_utility {

std::shared_ptr<file_writer>& get_file_writer() {
  static std::shared_ptr<file_writer> writer;
  return writer;
}

std::mutex& get_file_writer_mutex() {
  static std::mutex mutex;
  return mutex;
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
