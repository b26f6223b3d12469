#pragma once

#include "zunto/dispatcher/object_id.hpp"
#include "zunto/dispatcher/time_point.hpp"
#include "zunto/dispatcher/time_source.hpp"
#include "zunto/thread_wait.hpp"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

namespace zunto::dispatcher {

// One worker thread running queued jobs one at a time, in due-time order. Every job carries its
// owner's id; a job runs only while its owner is attached, so an owner can withdraw all its work.
class dispatcher final {
public:
  explicit dispatcher(std::weak_ptr<time_source> weak_time_source);
  ~dispatcher();

  dispatcher(const dispatcher&) = delete;
  dispatcher& operator=(const dispatcher&) = delete;

  // Queue `function` for `id`, due at `when` (0: ahead of everything; 1: at once). Safe from any
  // thread. An empty function is ignored.
  void enqueue(const object_id& id, std::function<void()> function, time_point when);
  // Queues two jobs at once, as two calls in this order would.
  void enqueue(const object_id& id, std::function<void()> first, time_point first_when, std::function<void()> second,
               time_point second_when);
  // As the two-job enqueue, for the last act of a job. On the worker thread the jobs are held and
  // placed in the pass the worker makes anyway when the job has returned (or before the thread's next
  // enqueue), unless id was detached by then. Other threads' jobs queued meanwhile may go ahead of
  // them, so nothing after this call may lead another thread to queue work. Off the worker thread
  // the same as the two-job enqueue.
  void enqueue_at_job_end(const object_id& id, std::function<void()> first, time_point first_when,
                          std::function<void()> second, time_point second_when);

  void attach(const object_id& id);
  bool attached(const object_id& id) const;

  // Drops id's queued jobs and, off the worker thread, waits for its running job.
  // False when id was not attached.
  bool detach(const object_id& id);

  // Detaches, then runs `function` once on the worker thread ahead of every queued job and returns
  // after it ran. It does not run when id was not attached or the dispatcher is terminating.
  void detach(const object_id& id, std::function<void()> function);

  // Stops the worker and joins it; queued jobs are dropped. Aborts on the worker thread.
  void terminate();

  bool dispatcher_thread() const;
  // The dispatcher whose worker is the calling thread, or null. It stays alive while the caller
  // runs: the worker thread ends before its dispatcher does. Unlike thread ids, never handed on to a
  // later thread.
  static dispatcher* of_this_thread();

  std::shared_ptr<time_source> lock_weak_time_source() const;

  // The clock's reading, or 1 when the clock is gone. Taken on the worker, it also becomes the
  // reading the queue judges due times by: a due time computed from it is never judged by an older
  // reading, which the clock may have stepped back from since.
  time_point now() const;

private:
  struct entry {
    std::uint64_t owner;
    std::function<void()> function;
    time_point when;
  };

  void worker();
  // Milliseconds until the front entry is due; 0 when it is due or the queue is empty.
  // On the worker with mutex_ held.
  time_point::rep compute_wait();
  // The clock's reading, or 1 when it is gone.
  time_point::rep read_clock() const;
  void place(entry new_entry);
  // With mutex_ held.
  bool owner_attached(std::uint64_t owner) const;
  // On the worker thread with mutex_ held: places the held entries of owners still attached and
  // returns the others, to be destroyed unlocked.
  std::vector<entry> place_held();

  // Set once: read without a lock.
  const std::weak_ptr<time_source> weak_time_source_;

  std::thread worker_thread_;
  std::shared_ptr<thread_wait> worker_started_;
  std::mutex terminate_mutex_;

  object_id object_id_;

  // One lock for the queue, the attached owners and the running owner: the worker takes it once a
  // job, and a detach sees all three change together.
  mutable std::mutex mutex_;
  std::deque<entry> queue_;
  bool exit_ = false;
  std::condition_variable queue_cv_;
  // An entry due later than 1 was queued from another thread since the worker last read the clock:
  // its due time may come from a reading newer than latest_now_.
  bool queued_from_other_thread_ = false;
  std::unordered_set<std::uint64_t> attached_ids_;
  // The owner last found in attached_ids_ (until it detaches): runs of one owner's jobs skip the
  // hash lookup.
  mutable std::optional<std::uint64_t> last_attached_owner_;
  std::optional<std::uint64_t> running_id_;
  // Callers of detach waiting for the running job; the worker wakes them only when there are any.
  std::size_t detach_waiters_ = 0;
  std::condition_variable running_id_cv_;

  // Entries of enqueue_at_job_end waiting for the running job to return; touched only on the worker.
  std::vector<entry> held_;
  // The latest reading of the clock on the worker (at least 1); touched only there. An entry due by
  // then is due, so runs of entries due within one millisecond, and a timer's tick due at the reading
  // it was computed from, read the clock once.
  mutable time_point::rep latest_now_ = 1;
};

} // namespace zunto::dispatcher
