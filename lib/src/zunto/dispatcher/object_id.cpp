#include "zunto/dispatcher/object_id.hpp"

#include <limits>
#include <stdexcept>

namespace zunto::dispatcher {

std::mutex& object_id::manager::mutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_set<std::uint64_t>& object_id::manager::set() {
  // Never destroyed: objects of members left running come and go while the process exits.
  static auto& values = *new std::unordered_set<std::uint64_t>([] {
    std::unordered_set<std::uint64_t> initial;
    initial.max_load_factor(1.0f);
    return initial;
  }());
  return values;
}

std::uint64_t& object_id::manager::last_value() {
  static std::uint64_t value = 0;
  return value;
}

std::uint64_t object_id::manager::make() {
  std::lock_guard lock(mutex());
  auto& values = set();
  if (values.size() >= std::numeric_limits<std::uint64_t>::max()) {
    throw std::runtime_error(
        "zunto::dispatcher::object_id::manager::make_new_object_id fails to allocate new object_id.");
  }
  auto candidate = last_value();
  do {
    ++candidate; // wraps at the top of the range
  } while (values.contains(candidate));
  values.insert(candidate);
  last_value() = candidate;
  return candidate;
}

void object_id::manager::erase(std::uint64_t value) {
  std::lock_guard lock(mutex());
  set().erase(value);
}

object_id::object_id() : value_(manager::make()) {}

object_id::~object_id() { manager::erase(value_); }

} // namespace zunto::dispatcher
