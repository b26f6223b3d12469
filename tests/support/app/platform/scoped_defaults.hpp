#pragma once

#include "platform/UserDefaults.hpp"

#include <memory>

namespace grellan_test {

// While it exists the process's user defaults are a fresh in-memory store.
class ScopedMemoryDefaults final {
public:
  ScopedMemoryDefaults()
      : previous_(
            grellan::UserDefaults::setStandard(std::make_unique<grellan::UserDefaults>(grellan::makeMemoryStorage()))) {
  }
  ~ScopedMemoryDefaults() { grellan::UserDefaults::setStandard(std::move(previous_)); }

  ScopedMemoryDefaults(const ScopedMemoryDefaults&) = delete;
  ScopedMemoryDefaults& operator=(const ScopedMemoryDefaults&) = delete;

  grellan::UserDefaults& defaults() { return grellan::UserDefaults::standard(); }

private:
  std::unique_ptr<grellan::UserDefaults> previous_;
};

} // namespace grellan_test
