#pragma once

#include "nod/detail/disconnector.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace nod {

// The handle of one connected slot. It does not keep the signal alive; disconnecting after the
// signal is gone, or a second time, does nothing.
class connection {
public:
  connection() = default;
  connection(std::weak_ptr<detail::disconnector> disconnector, std::size_t index, std::uint64_t id)
      : disconnector_(std::move(disconnector)), index_(index), id_(id) {}

  void disconnect() {
    if (auto disconnector = disconnector_.lock()) {
      (*disconnector)(index_, id_);
    }
    disconnector_.reset();
  }

private:
  std::weak_ptr<detail::disconnector> disconnector_;
  std::size_t index_ = 0;
  std::uint64_t id_ = 0;
};

} // namespace nod
