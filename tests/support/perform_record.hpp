#pragma once

#include "platform/cf/run_loop.hpp"
#include "zunto/thread_wait.hpp"

#include <atomic>
#include <memory>

namespace hbd_test {

// The info of a run-loop source under test: counts performs and remembers the loop they ran on.
struct perform_record {
  std::atomic<int> count{0};
  std::atomic<platform::cf::run_loop_ref> loop{nullptr};
  std::shared_ptr<zunto::thread_wait> performed = zunto::make_thread_wait();

  platform::cf::run_loop_source_context context() { return {this, &perform}; }

  static void perform(void* info) {
    auto* self = static_cast<perform_record*>(info);
    self->loop = platform::cf::run_loop_get_current();
    ++self->count;
    self->performed->notify();
  }
};

} // namespace hbd_test
