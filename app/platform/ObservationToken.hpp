#pragma once

#include <functional>

namespace grellan {

// Ends an observation when it goes, so an observer never outlives the object it calls back into.
class ObservationToken final {
public:
  ObservationToken() = default;
  explicit ObservationToken(std::function<void()> cancel);
  ~ObservationToken();

  ObservationToken(ObservationToken&& other) noexcept;
  ObservationToken& operator=(ObservationToken&& other) noexcept;
  ObservationToken(const ObservationToken&) = delete;
  ObservationToken& operator=(const ObservationToken&) = delete;

  // Ends the observation now; nothing when it has ended already.
  void cancel();

private:
  std::function<void()> cancel_;
};

} // namespace grellan
