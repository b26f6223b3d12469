#pragma once

#include "platform/cf/type.hpp"

// The two boolean objects. They live for the whole process; retaining and releasing them is
// allowed and changes nothing that matters.
namespace platform::cf {

class boolean : public type {
protected:
  boolean() = default;
};
using boolean_ref = const boolean*;

// The shared object for the value; the caller gets no reference of its own.
boolean_ref boolean_get(bool value);

// False for null.
bool boolean_get_value(boolean_ref boolean);

} // namespace platform::cf
