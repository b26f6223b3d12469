#include "hbd/apple_notification_center.hpp"

#include "platform/notify/notify.hpp"

#include <gtest/gtest.h>

#include <vector>

using platform::notify::notification;

TEST(apple_notification_center, posts_the_name_with_the_backend_object_at_once) {
  platform::notify::recorder notifications;
  hbd::apple_notification_center::post_distributed_notification("console_user_server_is_disabled");
  hbd::apple_notification_center::post_distributed_notification("caf\xc3\xa9");
  EXPECT_EQ(notifications.notifications(),
            (std::vector<notification>{{"console_user_server_is_disabled", "org.zunto.hobbard", true},
                                       {"caf\xc3\xa9", "org.zunto.hobbard", true}}));
}

TEST(apple_notification_center, a_name_that_is_no_string_is_not_posted) {
  platform::notify::recorder notifications;
  hbd::apple_notification_center::post_distributed_notification(nullptr);
  hbd::apple_notification_center::post_distributed_notification("bad \xff utf-8");
  hbd::apple_notification_center::post_distributed_notification("cut \xc3");
  EXPECT_TRUE(notifications.notifications().empty());
}
