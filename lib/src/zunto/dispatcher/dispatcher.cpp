#include "zunto/dispatcher/dispatcher.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <vector>

namespace zunto::dispatcher {

namespace {

// Wakes a caller of detach(id, function) once its job has run, or has been dropped unrun by
// terminate, so that the caller never waits for a job that will not come.
class wake_on_destruction final {
public:
  explicit wake_on_destruction(std::shared_ptr<thread_wait> wait) : wait_(std::move(wait)) {}
  ~wake_on_destruction() { wait_->notify(); }

  wake_on_destruction(const wake_on_destruction&) = delete;
  wake_on_destruction& operator=(const wake_on_destruction&) = delete;

private:
  std::shared_ptr<thread_wait> wait_;
};

// Moves the entries of `owner` from `entries` to `removed`, keeping the order of the others.
template <typename Entries>
void move_out_entries_of(std::uint64_t owner, Entries& entries, std::vector<typename Entries::value_type>& removed) {
  auto kept = entries.begin();
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->owner == owner) {
      removed.push_back(std::move(*it));
    } else {
      if (kept != it) {
        *kept = std::move(*it);
      }
      ++kept;
    }
  }
  entries.erase(kept, entries.end());
}

thread_local dispatcher* worker_of_this_thread = nullptr;

} // namespace

dispatcher::dispatcher(std::weak_ptr<time_source> weak_time_source)
    : weak_time_source_(std::move(weak_time_source)), worker_started_(make_thread_wait()) {
  attached_ids_.max_load_factor(1.0f);
  worker_thread_ = std::thread([this] { worker(); });
  worker_started_->wait_notice();
  attach(object_id_);
}

dispatcher::~dispatcher() {
  if (worker_thread_.joinable()) {
    terminate();
  }
}

void dispatcher::enqueue(const object_id& id, std::function<void()> function, time_point when) {
  enqueue(id, std::move(function), when, nullptr, time_point(0));
}

void dispatcher::enqueue(const object_id& id, std::function<void()> first, time_point first_when,
                         std::function<void()> second, time_point second_when) {
  if (!first && !second) {
    return;
  }
  const bool on_worker = dispatcher_thread();
  std::vector<entry> dropped; // destroyed unlocked: captures may call back in
  {
    std::lock_guard lock(mutex_);
    if (on_worker && !held_.empty()) {
      dropped = place_held(); // held entries were queued first
    }
    for (auto* job : {&first, &second}) {
      if (*job) {
        const auto when = job == &first ? first_when : second_when;
        if (!on_worker && when > time_point(1)) {
          queued_from_other_thread_ = true;
        }
        place(entry{id.get(), std::move(*job), when});
      }
    }
  }
  // Only the worker waits for the queue.
  if (!on_worker) {
    queue_cv_.notify_all();
  }
}

void dispatcher::enqueue_at_job_end(const object_id& id, std::function<void()> first, time_point first_when,
                                    std::function<void()> second, time_point second_when) {
  if (!dispatcher_thread()) {
    enqueue(id, std::move(first), first_when, std::move(second), second_when);
    return;
  }
  for (auto* job : {&first, &second}) {
    if (*job) {
      held_.push_back(entry{id.get(), std::move(*job), job == &first ? first_when : second_when});
    }
  }
}

std::vector<dispatcher::entry> dispatcher::place_held() {
  std::vector<entry> dropped;
  for (auto& held : held_) {
    // A detach from another thread since then drops them, as it would have from the queue.
    if (owner_attached(held.owner)) {
      place(std::move(held));
    } else {
      dropped.push_back(std::move(held));
    }
  }
  held_.clear();
  return dropped;
}

void dispatcher::place(entry new_entry) {
  if (new_entry.when == time_point(0)) {
    queue_.push_front(std::move(new_entry));
    return;
  }
  // Behind the last entry due no later than the new one: equal times keep their queuing order.
  auto position = queue_.end();
  while (position != queue_.begin() && std::prev(position)->when > new_entry.when) {
    --position;
  }
  queue_.insert(position, std::move(new_entry));
}

bool dispatcher::owner_attached(std::uint64_t owner) const {
  if (owner == last_attached_owner_) {
    return true;
  }
  if (!attached_ids_.contains(owner)) {
    return false;
  }
  last_attached_owner_ = owner;
  return true;
}

void dispatcher::attach(const object_id& id) {
  std::lock_guard lock(mutex_);
  attached_ids_.insert(id.get());
}

bool dispatcher::attached(const object_id& id) const {
  std::lock_guard lock(mutex_);
  return attached_ids_.contains(id.get());
}

bool dispatcher::detach(const object_id& id) {
  const auto value = id.get();
  // The removed jobs are destroyed after the lock is released: their captures may call back in.
  std::vector<entry> removed;
  std::unique_lock lock(mutex_);
  if (attached_ids_.erase(value) == 0) {
    return false;
  }
  if (last_attached_owner_ == value) {
    last_attached_owner_.reset();
  }
  move_out_entries_of(value, queue_, removed);

  // On the worker the running job is the caller itself or belongs to another owner.
  if (dispatcher_thread()) {
    move_out_entries_of(value, held_, removed);
  } else {
    ++detach_waiters_;
    running_id_cv_.wait(lock, [&] { return running_id_ != value; });
    --detach_waiters_;
  }
  lock.unlock();
  return true;
}

void dispatcher::detach(const object_id& id, std::function<void()> function) {
  if (!detach(id)) {
    return;
  }

  if (dispatcher_thread()) {
    bool exiting = false;
    {
      std::lock_guard lock(mutex_);
      exiting = exit_;
    }
    if (!exiting && function) {
      function();
    }
    return;
  }

  auto wait = make_thread_wait();
  {
    // Checked and queued under one lock: terminate either comes first (and nothing is queued) or
    // finds the job in the queue and releases the waiter when it drops it.
    std::lock_guard lock(mutex_);
    if (exit_) {
      return;
    }
    auto waker = std::make_shared<wake_on_destruction>(wait);
    auto job = [function = std::move(function), waker = std::move(waker)] {
      if (function) {
        function();
      }
    };
    place(entry{object_id_.get(), std::move(job), time_point(0)});
  }
  queue_cv_.notify_all();
  wait->wait_notice();
}

void dispatcher::terminate() {
  if (dispatcher_thread()) {
    std::fputs("zunto::dispatcher::dispatcher::terminate is called on the dispatcher thread\n", stderr);
    std::abort();
  }

  std::lock_guard terminate_lock(terminate_mutex_);
  if (!worker_thread_.joinable()) {
    return;
  }
  {
    std::lock_guard lock(mutex_);
    exit_ = true;
  }
  queue_cv_.notify_all();
  worker_thread_.join();

  // Jobs left behind never run; dropping them now releases any caller of detach(id, function).
  std::deque<entry> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
  }
}

bool dispatcher::dispatcher_thread() const { return worker_of_this_thread == this; }

dispatcher* dispatcher::of_this_thread() { return worker_of_this_thread; }

std::shared_ptr<time_source> dispatcher::lock_weak_time_source() const { return weak_time_source_.lock(); }

time_point::rep dispatcher::read_clock() const {
  if (auto clock = lock_weak_time_source()) {
    return clock->now().count();
  }
  return 1;
}

time_point dispatcher::now() const {
  const auto now = read_clock();
  if (dispatcher_thread()) {
    latest_now_ = std::max<time_point::rep>(now, 1);
  }
  return time_point(now);
}

time_point::rep dispatcher::compute_wait() {
  if (queue_.empty()) {
    return 0;
  }
  const auto due = queue_.front().when.count();
  if (due <= 1 || (due <= latest_now_ && !queued_from_other_thread_)) {
    return 0; // 0 and 1 are always due; the rest once a reading has shown their time
  }
  latest_now_ = std::max<time_point::rep>(read_clock(), 1);
  queued_from_other_thread_ = false;
  return due > latest_now_ ? due - latest_now_ : 0;
}

void dispatcher::worker() {
  worker_of_this_thread = this;
  worker_started_->notify();

  std::unique_lock lock(mutex_);
  while (!exit_) {
    if (queue_.empty()) {
      queue_cv_.wait(lock);
      continue;
    }
    if (const auto wait = compute_wait(); wait > 0) {
      // Any wake-up recomputes the wait, so an earlier entry queued meanwhile is not held back.
      // The cap keeps the steady-clock deadline from overflowing on far-off (or clockless) times.
      constexpr time_point::rep longest_wait = time_point::rep{60} * 60 * 1000;
      queue_cv_.wait_for(lock, std::chrono::milliseconds(std::min(wait, longest_wait)));
      continue;
    }

    auto job = std::move(queue_.front());
    queue_.pop_front();
    // Under the lock that detach takes to remove the owner: no job of a detached owner starts after
    // detach returned, and detach waits for the one that did start.
    const bool attached = owner_attached(job.owner);
    running_id_ = job.owner;
    lock.unlock();
    if (attached) {
      job.function();
    }
    job = {}; // the job's captures go before the lock is taken again
    lock.lock();
    if (auto dropped = held_.empty() ? std::vector<entry>() : place_held(); !dropped.empty()) {
      // They were the job's last act: gone before the job stops counting as running, so that a
      // detach waiting for it returns after them.
      lock.unlock();
      dropped.clear();
      lock.lock();
    }
    running_id_.reset();
    if (detach_waiters_ != 0) {
      running_id_cv_.notify_all();
    }
  }
}

} // namespace zunto::dispatcher
