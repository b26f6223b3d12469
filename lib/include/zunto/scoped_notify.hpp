#pragma once

#include "zunto/thread_wait.hpp"

#include <memory>

namespace zunto {

// Notifies a thread wait when it goes, however the work that holds it ends: run, failed or
// dropped unrun.
class scoped_notify final {
public:
  explicit scoped_notify(std::shared_ptr<thread_wait> wait) : wait_(std::move(wait)) {}
  ~scoped_notify() { wait_->notify(); }

  scoped_notify(const scoped_notify&) = delete;
  scoped_notify& operator=(const scoped_notify&) = delete;

  // Notifies now; the notice stays.
  void notify() const { wait_->notify(); }

private:
  std::shared_ptr<thread_wait> wait_;
};

} // namespace zunto
