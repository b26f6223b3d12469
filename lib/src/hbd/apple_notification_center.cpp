#include "hbd/apple_notification_center.hpp"

#include "platform/notify/notify.hpp"

#include <utf8cpp/utf8.h>

#include <string_view>

namespace hbd {

void apple_notification_center::post_distributed_notification(const char* name) {
  // A platform string cannot be made from these, so nothing is posted.
  if (name == nullptr) {
    return;
  }
  const std::string_view text(name);
  if (!utf8::is_valid(text.begin(), text.end())) {
    return;
  }
  platform::notify::post_distributed_notification(platform::notify::notification{
      .name = std::string(text),
      .object = "org.zunto.hobbard",
      .deliver_immediately = true,
  });
}

} // namespace hbd
