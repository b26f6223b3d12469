#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zunto::dispatcher::extra {

dispatcher_client::dispatcher_client(std::weak_ptr<dispatcher> weak_dispatcher)
    : weak_dispatcher_(std::move(weak_dispatcher)) {
  if (auto d = weak_dispatcher_.lock()) {
    d->attach(object_id_);
  }
}

dispatcher_client::~dispatcher_client() {
  if (attached()) {
    std::fputs("zunto::dispatcher::extra::dispatcher_client is destroyed while attached\n", stderr);
    std::abort();
  }
}

void dispatcher_client::enqueue_to_dispatcher(std::function<void()> function, time_point when) const {
  if (auto d = weak_dispatcher_.lock()) {
    d->enqueue(object_id_, std::move(function), when);
  }
}

void dispatcher_client::enqueue_to_dispatcher(std::function<void()> first, time_point first_when,
                                              std::function<void()> second, time_point second_when) const {
  if (auto d = weak_dispatcher_.lock()) {
    d->enqueue(object_id_, std::move(first), first_when, std::move(second), second_when);
  }
}

time_point dispatcher_client::when_now() const {
  if (auto d = weak_dispatcher_.lock()) {
    if (auto clock = d->lock_weak_time_source()) {
      return clock->now();
    }
  }
  return time_point(1);
}

bool dispatcher_client::attached() const {
  if (auto d = weak_dispatcher_.lock()) {
    return d->attached(object_id_);
  }
  return false;
}

void dispatcher_client::detach_from_dispatcher() const {
  if (auto d = weak_dispatcher_.lock()) {
    d->detach(object_id_);
  }
}

void dispatcher_client::detach_from_dispatcher(std::function<void()> function) const {
  if (auto d = weak_dispatcher_.lock()) {
    d->detach(object_id_, std::move(function));
  }
}

} // namespace zunto::dispatcher::extra
