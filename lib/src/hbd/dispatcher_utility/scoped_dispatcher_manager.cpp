#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"

#include "hbd/dispatcher_utility/file_writer_holder.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <memory>
#include <mutex>
#include <utility>

namespace hbd::dispatcher_utility {

scoped_dispatcher_manager::scoped_dispatcher_manager() {
  zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->initialize();

  std::lock_guard lock(get_file_writer_mutex());
  if (!get_file_writer()) {
    get_file_writer() = std::make_shared<file_writer>();
  }
}

scoped_dispatcher_manager::~scoped_dispatcher_manager() {
  zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->terminate();

  // Taken out under the mutex but destroyed after it: the writer drains its queue first, and a
  // queued write must not find the mutex held.
  std::shared_ptr<file_writer> writer;
  {
    std::lock_guard lock(get_file_writer_mutex());
    writer = std::move(get_file_writer());
  }
}

} // namespace hbd::dispatcher_utility
