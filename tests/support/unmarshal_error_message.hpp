#pragma once

#include "zunto/json/unmarshal_error.hpp"

#include <string>

namespace hbd_test {

// The message of the zunto::json::unmarshal_error that the function throws, or "no error".
// Other exceptions pass through.
template <class Function>
std::string unmarshal_error_message(Function&& function) {
  try {
    function();
  } catch (const zunto::json::unmarshal_error& e) {
    return e.what();
  }
  return "no error";
}

} // namespace hbd_test
