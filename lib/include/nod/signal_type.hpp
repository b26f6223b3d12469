#pragma once

#include "nod/connection.hpp"
#include "nod/detail/disconnector.hpp"
#include "nod/multithread_policy.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace nod {

template <typename Policy, typename Signature>
class signal_type;

// A multicast signal: slots run in the order they were connected, on the emitting thread, outside
// the lock, so a slot may connect, disconnect or emit again.
template <typename Policy, typename... Args>
class signal_type<Policy, void(Args...)> final {
public:
  using slot_type = std::function<void(Args...)>;

  signal_type() = default;
  signal_type(const signal_type&) = delete;
  signal_type& operator=(const signal_type&) = delete;

  ~signal_type() { invalidate_disconnector(); }

  // An empty function object takes no place and gives a connection that does nothing.
  connection connect(slot_type slot) {
    if (!slot) {
      return connection();
    }
    typename Policy::mutex_lock_type lock(mutex_);
    const std::uint64_t id = next_id_++;
    slots_.push_back({std::move(slot), id});
    if (!shared_disconnector_) {
      disconnector_.signal = this;
      shared_disconnector_ = std::shared_ptr<detail::disconnector>(&disconnector_, detail::no_delete{});
    }
    ++slot_count_;
    return connection(shared_disconnector_, slots_.size() - 1, id);
  }

  // Calls every slot connected before the call started; a slot disconnected meanwhile may still
  // run once. An exception from a slot ends the emission and reaches the caller.
  void operator()(const Args&... args) const {
    for (const auto& slot : copy_slots()) {
      if (slot) {
        slot(args...);
      }
    }
  }

  // Frees the slot when it is still the one with this id; anything else (a stale or repeated
  // disconnect, an index past a trimmed end) does nothing.
  void disconnect(std::size_t index, std::uint64_t id) {
    typename Policy::mutex_lock_type lock(mutex_);
    if (index >= slots_.size() || slots_[index].id != id || !slots_[index].function) {
      return;
    }
    slots_[index].function = nullptr;
    --slot_count_;
    while (!slots_.empty() && !slots_.back().function) {
      slots_.pop_back();
    }
  }

  std::vector<slot_type> copy_slots() const {
    typename Policy::mutex_lock_type lock(mutex_);
    std::vector<slot_type> result;
    result.reserve(slots_.size());
    for (const auto& entry : slots_) {
      result.push_back(entry.function);
    }
    return result;
  }

  // The number of live slots.
  std::size_t slot_count() const {
    typename Policy::mutex_lock_type lock(mutex_);
    return slot_count_;
  }

private:
  struct slot_entry {
    slot_type function;
    std::uint64_t id;
  };

  class disconnector final : public detail::disconnector {
  public:
    void operator()(std::size_t index, std::uint64_t id) const override {
      if (signal != nullptr) {
        signal->disconnect(index, id);
      }
    }

    signal_type* signal = nullptr;
  };

  // After this no connection reaches the signal: those in the middle of disconnecting hold the
  // shared pointer, so wait until they let go.
  void invalidate_disconnector() {
    std::weak_ptr<detail::disconnector> weak;
    {
      typename Policy::mutex_lock_type lock(mutex_);
      weak = shared_disconnector_;
      shared_disconnector_.reset();
    }
    while (!weak.expired()) {
      Policy::yield_thread();
    }
    // Pairs with the last disconnect's unlock, so its writes happen before the members go.
    typename Policy::mutex_lock_type lock(mutex_);
  }

  mutable typename Policy::mutex_type mutex_;
  std::vector<slot_entry> slots_;
  std::size_t slot_count_ = 0;
  std::uint64_t next_id_ = 1;
  disconnector disconnector_;
  std::shared_ptr<detail::disconnector> shared_disconnector_;
};

} // namespace nod
