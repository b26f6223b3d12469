#pragma once

namespace hbd {

class apple_notification_center final {
public:
  apple_notification_center() = delete;

  // Posts the distributed notification `name` (zero-terminated UTF-8) with the object
  // "org.zunto.hobbard", delivered immediately. A null name or one that is not valid UTF-8 is
  // not posted.
  static void post_distributed_notification(const char* name);
};

} // namespace hbd
