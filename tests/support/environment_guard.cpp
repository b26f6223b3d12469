#include "support/environment_guard.hpp"

#include <cstdlib>

namespace hbd_test {

environment_guard::environment_guard(const char* name) : name_(name) {
  if (const char* value = std::getenv(name)) {
    saved_ = value;
  }
}

environment_guard::~environment_guard() {
  if (saved_) {
    setenv(name_, saved_->c_str(), 1);
  } else {
    unsetenv(name_);
  }
}

} // namespace hbd_test
