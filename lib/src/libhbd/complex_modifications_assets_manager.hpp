#pragma once

#include "hbd/complex_modifications_assets_manager.hpp"

#include <mutex>
#include <utility>

// The C interface's list of complex-modification asset files; empty until the first reload. Callers
// on several threads share it, one at a time.
class libhbd_complex_modifications_assets_manager final {
public:
  libhbd_complex_modifications_assets_manager();
  ~libhbd_complex_modifications_assets_manager();

  libhbd_complex_modifications_assets_manager(const libhbd_complex_modifications_assets_manager&) = delete;
  libhbd_complex_modifications_assets_manager& operator=(const libhbd_complex_modifications_assets_manager&) = delete;

  // Runs `function` on the list while no other thread reloads or reads it.
  template <typename Function>
  auto with_manager(Function&& function) {
    std::lock_guard lock(mutex_);
    return std::forward<Function>(function)(manager_);
  }

private:
  std::mutex mutex_;
  hbd::complex_modifications_assets_manager manager_;
};
