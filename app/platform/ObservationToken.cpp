#include "platform/ObservationToken.hpp"

#include <utility>

namespace grellan {

ObservationToken::ObservationToken(std::function<void()> cancel) : cancel_(std::move(cancel)) {}

ObservationToken::~ObservationToken() { cancel(); }

ObservationToken::ObservationToken(ObservationToken&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}

ObservationToken& ObservationToken::operator=(ObservationToken&& other) noexcept {
  if (this != &other) {
    cancel();
    cancel_ = std::exchange(other.cancel_, {});
  }
  return *this;
}

void ObservationToken::cancel() {
  if (auto cancel = std::exchange(cancel_, {})) {
    cancel();
  }
}

} // namespace grellan
