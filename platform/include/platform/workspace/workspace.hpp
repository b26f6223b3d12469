#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The workspace's notion of the frontmost application. Here it is in-process and driven by tests:
// an activation makes an application frontmost and posts the did-activate notification to the
// observers, on the activating thread.
namespace platform::workspace {

struct running_application {
  std::optional<std::string> bundle_identifier;
  // The path of the application's executable.
  std::optional<std::string> executable_path;

  bool operator==(const running_application&) const = default;
};

// The user info of a did-activate notification: the activated application under its key, which a
// malformed notification may lack.
struct user_info {
  std::optional<running_application> application;
};

struct did_activate_application_notification {
  std::optional<user_info> info;
};

using observer = std::function<void(const did_activate_application_notification&)>;

// Observation lasts while the token lives.
class observer_token final {
public:
  observer_token() = default;
  explicit observer_token(std::shared_ptr<void> state) : state_(std::move(state)) {}

private:
  std::shared_ptr<void> state_;
};

std::optional<running_application> frontmost_application();

observer_token observe_did_activate_application(observer function);

// Makes the application frontmost and posts its notification.
void activate(const running_application& application);

// Posts a notification as it is, leaving the frontmost application as it was.
void post_did_activate_application(const did_activate_application_notification& notification);

// No application frontmost, as before the first activation.
void reset();

} // namespace platform::workspace
