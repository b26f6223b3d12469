#pragma once

#include <functional>

namespace grellan {

// A value that lives with someone else: read it through `get`, change it through `set`.
template <typename Value>
struct Binding {
  std::function<Value()> get;
  std::function<void(const Value&)> set;
};

} // namespace grellan
