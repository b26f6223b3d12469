#pragma once

#include <memory>
#include <string>
#include <vector>

// The distributed notification centre. Here it is in-process: a posted notification reaches the
// recorders of this process, on the posting thread.
namespace platform::notify {

struct notification {
  std::string name;
  std::string object;
  bool deliver_immediately = false;

  bool operator==(const notification&) const = default;
};

void post_distributed_notification(const notification& posted);

struct recorder_state;

// Keeps every notification posted while it exists.
class recorder final {
public:
  recorder();
  ~recorder();

  recorder(const recorder&) = delete;
  recorder& operator=(const recorder&) = delete;

  std::vector<notification> notifications() const;

private:
  std::shared_ptr<recorder_state> state_;
};

} // namespace platform::notify
