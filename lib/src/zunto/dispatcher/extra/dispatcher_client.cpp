#include "zunto/dispatcher/extra/dispatcher_client.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zunto::dispatcher::extra {

dispatcher_client::dispatcher_client(std::weak_ptr<dispatcher> weak_dispatcher)
    : weak_dispatcher_(std::move(weak_dispatcher)) {
  if (auto d = weak_dispatcher_.lock()) {
    dispatcher_address_ = d.get();
    d->attach(object_id_);
  }
}

dispatcher* dispatcher_client::dispatcher_on_its_worker() const {
  // Our dispatcher, while not expired, and this thread's are both alive, so one address means one
  // object; a dispatcher made where an expired one was is told apart by the expiry.
  auto* d = dispatcher::of_this_thread();
  if (d == nullptr || d != dispatcher_address_ || weak_dispatcher_.expired()) {
    return nullptr;
  }
  return d;
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

void dispatcher_client::enqueue_now_and_after_at_job_end(std::function<void()> now_job, std::function<void()> later_job,
                                                         std::chrono::milliseconds delay) const {
  const auto queue = [&](dispatcher& d) {
    d.enqueue_at_job_end(object_id_, std::move(now_job), time_point(1), std::move(later_job), d.now() + delay);
  };
  if (auto* d = dispatcher_on_its_worker()) {
    queue(*d);
  } else if (auto locked = weak_dispatcher_.lock()) {
    queue(*locked);
  }
}

time_point dispatcher_client::when_now() const {
  if (auto d = weak_dispatcher_.lock()) {
    return d->now();
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
