#include "support/dispatcher_thread.hpp"

#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"
#include "zunto/dispatcher/object_id.hpp"

namespace hbd_test {

std::thread::id shared_dispatcher_thread_id() {
  const auto dispatcher = zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher();
  if (!dispatcher) {
    return {};
  }
  zunto::dispatcher::object_id id;
  dispatcher->attach(id);
  std::thread::id thread;
  dispatcher->detach(id, [&] { thread = std::this_thread::get_id(); });
  return thread;
}

} // namespace hbd_test
