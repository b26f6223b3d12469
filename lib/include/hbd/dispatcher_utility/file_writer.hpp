#pragma once

#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"
#include "zunto/dispatcher/object_id.hpp"

#include <functional>
#include <memory>

namespace hbd::dispatcher_utility {

// The dispatcher that runs every file write, one at a time in the order queued, apart from the
// shared dispatcher so that a slow disk never holds up monitors and callbacks.
class file_writer final {
public:
  file_writer();
  // Runs the writes already queued, then stops the dispatcher: a caller that saw its write (or a
  // job that tells it the writes are done) accepted can rely on it running.
  ~file_writer();

  file_writer(const file_writer&) = delete;
  file_writer& operator=(const file_writer&) = delete;

  void enqueue(std::function<void()> function);

private:
  std::shared_ptr<zunto::dispatcher::hardware_time_source> time_source_;
  std::shared_ptr<zunto::dispatcher::dispatcher> dispatcher_;
  zunto::dispatcher::object_id object_id_;
};

} // namespace hbd::dispatcher_utility
