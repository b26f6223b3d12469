#pragma once

#include <stdexcept>
#include <string>

namespace zunto::json {

// Thrown by the JSON readers for a value of the wrong kind, or an unknown key or value.
class unmarshal_error : public std::runtime_error {
public:
  explicit unmarshal_error(const std::string& message) : std::runtime_error(message) {}
  explicit unmarshal_error(const char* message) : std::runtime_error(message) {}
};

} // namespace zunto::json
