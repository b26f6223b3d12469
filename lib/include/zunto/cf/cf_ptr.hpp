#pragma once

#include "platform/cf/type.hpp"

#include <concepts>
#include <type_traits>
#include <utility>

namespace zunto::cf {

// An owning reference to a platform object: a non-null pointer held here is retained once by it.
// Whoever receives an object from a create or copy call still owns that first reference and
// releases it after wrapping.
template <typename T>
  requires std::is_pointer_v<T> && std::convertible_to<T, platform::cf::type_ref>
class cf_ptr final {
public:
  cf_ptr() noexcept = default;

  explicit cf_ptr(T pointer) noexcept : pointer_(pointer) {
    if (pointer_ != nullptr) {
      platform::cf::retain(pointer_);
    }
  }

  cf_ptr(const cf_ptr& other) noexcept : cf_ptr(other.pointer_) {}

  cf_ptr(cf_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}

  ~cf_ptr() { reset(); }

  cf_ptr& operator=(const cf_ptr& other) noexcept {
    reset(other.pointer_);
    return *this;
  }

  cf_ptr& operator=(cf_ptr&& other) noexcept {
    if (this != &other) {
      T old = std::exchange(pointer_, std::exchange(other.pointer_, nullptr));
      if (old != nullptr) {
        platform::cf::release(old);
      }
    }
    return *this;
  }

  T get() const noexcept { return pointer_; }

  // Retains the new pointer before releasing the old one, so resetting to the held pointer keeps it.
  void reset(T pointer = nullptr) noexcept {
    if (pointer != nullptr) {
      platform::cf::retain(pointer);
    }
    T old = std::exchange(pointer_, pointer);
    if (old != nullptr) {
      platform::cf::release(old);
    }
  }

  explicit operator bool() const noexcept { return pointer_ != nullptr; }

private:
  T pointer_ = nullptr;
};

} // namespace zunto::cf
