#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace hbd_test {

// Restores an environment variable when the test ends.
class environment_guard final {
public:
  explicit environment_guard(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) {
      saved_ = value;
    }
  }
  ~environment_guard() {
    if (saved_) {
      setenv(name_, saved_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  environment_guard(const environment_guard&) = delete;
  environment_guard& operator=(const environment_guard&) = delete;

private:
  const char* name_;
  std::optional<std::string> saved_;
};

} // namespace hbd_test
