#pragma once

#include "platform/cf/type.hpp"

#include <cstdint>
#include <optional>

// Immutable numbers. Every number here holds a signed 64-bit integer, the form registry
// properties take.
namespace platform::cf {

class number : public type {
protected:
  number() = default;
};
using number_ref = const number*;

// A new object with one reference for the caller.
number_ref number_create_int64(std::int64_t value);

// No value for null.
std::optional<std::int64_t> number_get_int64(number_ref number);

} // namespace platform::cf
