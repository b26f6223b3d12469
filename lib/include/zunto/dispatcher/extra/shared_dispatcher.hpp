#pragma once

#include "zunto/dispatcher/dispatcher.hpp"
#include "zunto/dispatcher/hardware_time_source.hpp"

#include <memory>
#include <mutex>

namespace zunto::dispatcher::extra {

// The process-wide dispatcher that runs every monitor, timer and callback of the library, with
// its clock.
class shared_dispatcher final {
public:
  // The process-wide holder, made empty on first call and never destroyed.
  static std::shared_ptr<shared_dispatcher> get_shared_dispatcher();

  // Creates the clock, then the dispatcher, each only if absent.
  void initialize();

  // Terminates and drops the dispatcher, then drops the clock.
  void terminate();

  // Empty before initialize and after terminate.
  std::shared_ptr<dispatcher> get_dispatcher() const;

private:
  // Serialises initialize and terminate; held while the worker is joined.
  std::mutex lifecycle_mutex_;
  // Guards the two pointers only, so that get_dispatcher never waits for a join: a job that asks
  // for the dispatcher while terminate joins its worker must not block it.
  mutable std::mutex pointers_mutex_;
  std::shared_ptr<hardware_time_source> time_source_;
  std::shared_ptr<dispatcher> dispatcher_;
};

} // namespace zunto::dispatcher::extra
