#pragma once

#include <optional>
#include <string>

namespace hbd_test {

// Restores an environment variable when the test ends.
class environment_guard final {
public:
  explicit environment_guard(const char* name);
  ~environment_guard();

  environment_guard(const environment_guard&) = delete;
  environment_guard& operator=(const environment_guard&) = delete;

private:
  const char* name_;
  std::optional<std::string> saved_;
};

} // namespace hbd_test
