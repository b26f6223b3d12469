#pragma once

#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/object_id.hpp"
#include "zunto/dispatcher/time_point.hpp"

#include <chrono>
#include <functional>
#include <memory>

namespace zunto::dispatcher::extra {

// Base of every asynchronous object: its jobs run on one dispatcher under its own id. A derived
// class detaches in its own destructor, before its members go; destroying an attached client aborts.
class dispatcher_client {
public:
  explicit dispatcher_client(std::weak_ptr<dispatcher> weak_dispatcher);
  virtual ~dispatcher_client();

  dispatcher_client(const dispatcher_client&) = delete;
  dispatcher_client& operator=(const dispatcher_client&) = delete;

  // Dropped without notice when the dispatcher is gone.
  void enqueue_to_dispatcher(std::function<void()> function, time_point when) const;
  // `now_job` due at once and `later_job` due `delay` after when_now(), queued together as two calls
  // in this order would queue them; the dispatcher and its clock are looked up once for both. Meant
  // as a job's last act: on the dispatcher thread they are placed when the job returns (see
  // dispatcher::enqueue_at_job_end).
  void enqueue_now_and_after_at_job_end(std::function<void()> now_job, std::function<void()> later_job,
                                        std::chrono::milliseconds delay) const;

  // The dispatcher's clock, or 1 when the dispatcher or its clock is gone.
  time_point when_now() const;

  bool attached() const;

  // Drops this client's queued jobs and, off the dispatcher thread, waits for its running job.
  void detach_from_dispatcher() const;

  // As above, then runs `function` once on the dispatcher thread and returns after it ran. It does
  // not run when the client was not attached or the dispatcher is terminating or gone.
  void detach_from_dispatcher(std::function<void()> function) const;

protected:
  const std::weak_ptr<dispatcher> weak_dispatcher_;
  object_id object_id_;

private:
  // The dispatcher when the calling thread is its worker, found without touching the weak pointer's
  // counts; null elsewhere.
  dispatcher* dispatcher_on_its_worker() const;

  // Compared, never followed, unless the dispatcher is known to be alive. Null when it was gone at
  // construction.
  dispatcher* dispatcher_address_ = nullptr;
};

} // namespace zunto::dispatcher::extra
