#pragma once

#include <cstddef>
#include <cstdint>

namespace nod::detail {

// What a connection calls to free its slot. The id tells a slot apart from a later one that
// reuses its index after the list was trimmed.
class disconnector {
public:
  virtual ~disconnector() = default;
  virtual void operator()(std::size_t index, std::uint64_t id) const = 0;
};

// Deleter for the shared pointer that a signal keeps to its own embedded disconnector.
struct no_delete {
  template <typename T>
  void operator()(T*) const noexcept {}
};

} // namespace nod::detail
