#include "hbd/dispatcher_utility/file_writer.hpp"

#include "zunto/thread_wait.hpp"

#include <utility>

namespace hbd::dispatcher_utility {

file_writer::file_writer()
    : time_source_(std::make_shared<zunto::dispatcher::hardware_time_source>()),
      dispatcher_(std::make_shared<zunto::dispatcher::dispatcher>(time_source_)) {
  dispatcher_->attach(object_id_);
}

file_writer::~file_writer() {
  // Every job is due at once, so this one runs after all that were queued before it.
  auto drained = zunto::make_thread_wait();
  dispatcher_->enqueue(
      object_id_, [drained] { drained->notify(); }, zunto::dispatcher::time_point(1));
  drained->wait_notice();

  dispatcher_->detach(object_id_);
  dispatcher_.reset(); // terminates and joins the worker
  time_source_.reset();
}

void file_writer::enqueue(std::function<void()> function) {
  dispatcher_->enqueue(object_id_, std::move(function), zunto::dispatcher::time_point(1));
}

} // namespace hbd::dispatcher_utility
