#include "platform/cf/type.hpp"

namespace platform::cf {

type_ref retain(type_ref object) noexcept {
  if (object != nullptr) {
    object->retain_count_.fetch_add(1, std::memory_order_relaxed);
  }
  return object;
}

void release(type_ref object) noexcept {
  if (object == nullptr) {
    return;
  }
  // acq_rel: every write made through other references happens before the destructor runs.
  if (object->retain_count_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    delete object;
  }
}

long get_retain_count(type_ref object) noexcept {
  return object == nullptr ? 0 : object->retain_count_.load(std::memory_order_relaxed);
}

} // namespace platform::cf
