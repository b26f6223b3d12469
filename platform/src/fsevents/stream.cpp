#include "platform/fsevents/stream.hpp"

#include "descriptor_closer.hpp"
#include "inotify_watcher.hpp"
#include "platform/cf/type.hpp"
#include "platform/fsevents/own_writes.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <utility>

namespace platform::fsevents {
namespace {

std::atomic<event_id> last_event_id{0};

} // namespace

class stream final : public cf::type {
public:
  // What queued deliveries need; it outlives the stream when deliveries are still queued.
  struct shared {
    stream_ref owner;
    stream_callback callback;
    void* info;

    std::mutex mutex;
    std::condition_variable cv;
    // Deliveries of an earlier start find a newer generation and do not call.
    std::uint64_t generation = 0;
    bool running = false;
    bool calling = false;
    std::thread::id calling_thread;
  };

  stream(stream_callback callback, void* info, std::vector<std::string> paths, std::chrono::nanoseconds latency,
         create_flags flags)
      : paths_(std::move(paths)), latency_(latency), flags_(flags), shared_(std::make_shared<shared>()) {
    shared_->owner = this;
    shared_->callback = callback;
    shared_->info = info;
  }

  ~stream() override { stop(); }

  void set_queue(std::shared_ptr<dispatch::serial_queue> queue) {
    std::lock_guard lock(mutex_);
    if (!invalidated_) {
      queue_ = std::move(queue);
    }
  }

  bool start();
  void stop();

  void invalidate() {
    stop();
    std::lock_guard lock(mutex_);
    invalidated_ = true;
    queue_.reset();
  }

  const std::vector<std::string>& paths() const { return paths_; }

private:
  void deliver(const std::shared_ptr<dispatch::serial_queue>& queue, std::uint64_t generation,
               std::vector<raw_event> batch) const;

  const std::vector<std::string> paths_;
  const std::chrono::nanoseconds latency_;
  const create_flags flags_;
  std::shared_ptr<shared> shared_;

  // Serialises start, stop and invalidate.
  std::mutex mutex_;
  std::shared_ptr<dispatch::serial_queue> queue_;
  std::unique_ptr<inotify_watcher> watcher_;
  bool invalidated_ = false;
};

namespace {

// Started streams, so that tests can see what the process watches.
class started_streams final {
public:
  void insert(stream_ref value) {
    std::lock_guard lock(mutex_);
    streams_.insert(value);
  }
  void erase(stream_ref value) {
    std::lock_guard lock(mutex_);
    streams_.erase(value);
  }
  std::vector<std::vector<std::string>> copy_paths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::vector<std::string>> result;
    for (auto* value : streams_) {
      result.push_back(stream_copy_paths_being_watched(value));
    }
    return result;
  }

private:
  mutable std::mutex mutex_;
  std::unordered_set<stream_ref> streams_;
};

started_streams& get_started_streams() {
  static started_streams* instance = new started_streams;
  return *instance;
}

} // namespace

bool stream::start() {
  std::lock_guard lock(mutex_);
  if (watcher_) {
    return true;
  }
  if (!queue_) {
    errno = EINVAL;
    return false;
  }
  std::uint64_t generation = 0;
  {
    std::lock_guard shared_lock(shared_->mutex);
    generation = ++shared_->generation;
    shared_->running = true;
  }
  watcher_ = inotify_watcher::start(paths_, latency_, flags_,
                                    [this, queue = queue_, generation](std::vector<raw_event> batch) {
                                      deliver(queue, generation, std::move(batch));
                                    });
  if (!watcher_) {
    const int error = errno;
    {
      std::lock_guard shared_lock(shared_->mutex);
      shared_->running = false;
    }
    errno = error;
    return false;
  }
  get_started_streams().insert(this);
  return true;
}

void stream::stop() {
  std::unique_ptr<inotify_watcher> watcher;
  {
    std::lock_guard lock(mutex_);
    watcher = std::move(watcher_);
  }
  if (!watcher) {
    return;
  }
  get_started_streams().erase(this);
  // Joins the thread: no delivery is being queued after this.
  watcher.reset();

  std::unique_lock shared_lock(shared_->mutex);
  ++shared_->generation;
  shared_->running = false;
  // A callback on another thread finishes before stop returns; one that stops its own stream
  // cannot be waited for.
  shared_->cv.wait(shared_lock,
                   [&] { return !shared_->calling || shared_->calling_thread == std::this_thread::get_id(); });
}

// On the watcher's thread, which is joined before the stream goes, so `this` is alive here.
void stream::deliver(const std::shared_ptr<dispatch::serial_queue>& queue, std::uint64_t generation,
                     std::vector<raw_event> batch) const {
  if ((flags_ & create_flag_mark_self) != 0) {
    for (auto& event : batch) {
      // Checked at delivery, so a writer has the whole latency to note its write.
      if ((event.flags & (event_flag_root_changed | event_flag_kernel_dropped | event_flag_user_dropped)) == 0 &&
          is_own_write(event.path)) {
        event.flags |= event_flag_own_event;
      }
    }
  }
  queue->async([s = shared_, generation, batch = std::move(batch)] {
    {
      std::lock_guard lock(s->mutex);
      if (!s->running || s->generation != generation) {
        return;
      }
      s->calling = true;
      s->calling_thread = std::this_thread::get_id();
    }
    struct end_call {
      stream::shared& s;
      ~end_call() {
        std::lock_guard lock(s.mutex);
        s.calling = false;
        s.cv.notify_all();
      }
    } ending{*s};

    std::vector<const char*> paths;
    std::vector<event_flags> flags;
    std::vector<event_id> ids;
    paths.reserve(batch.size());
    flags.reserve(batch.size());
    ids.reserve(batch.size());
    for (const auto& event : batch) {
      paths.push_back(event.path.c_str());
      flags.push_back(event.flags);
      ids.push_back(last_event_id.fetch_add(1, std::memory_order_relaxed) + 1);
    }
    s->callback(s->owner, s->info, batch.size(), paths.data(), flags.data(), ids.data());
  });
}

stream_ref stream_create(stream_callback callback, const stream_context* context,
                         const std::vector<std::string>& paths_to_watch, event_id /*since_when*/,
                         double latency_seconds, create_flags flags) {
  if (callback == nullptr || paths_to_watch.empty()) {
    return nullptr;
  }
  if (!std::isfinite(latency_seconds) || latency_seconds < 0) {
    latency_seconds = 0;
  }
  const auto latency = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::duration<double>(std::min(latency_seconds, 3600.0)));
  return new stream(callback, context != nullptr ? context->info : nullptr, paths_to_watch, latency, flags);
}

void stream_set_dispatch_queue(stream_ref stream, std::shared_ptr<dispatch::serial_queue> queue) {
  if (stream != nullptr) {
    stream->set_queue(std::move(queue));
  }
}

bool stream_start(stream_ref stream) { return stream != nullptr && stream->start(); }

void stream_stop(stream_ref stream) {
  if (stream != nullptr) {
    stream->stop();
  }
}

void stream_invalidate(stream_ref stream) {
  if (stream != nullptr) {
    stream->invalidate();
  }
}

void stream_release(stream_ref stream) { cf::release(stream); }

std::vector<std::string> stream_copy_paths_being_watched(stream_ref stream) {
  return stream != nullptr ? stream->paths() : std::vector<std::string>{};
}

std::vector<std::vector<std::string>> copy_started_streams_paths() { return get_started_streams().copy_paths(); }

void wait_for_stopped_streams() { descriptor_closer::get().wait_until_closed(); }

} // namespace platform::fsevents
