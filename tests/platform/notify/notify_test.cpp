#include "platform/notify/notify.hpp"

#include <gtest/gtest.h>

#include <vector>

using platform::notify::notification;

TEST(notify, every_live_recorder_sees_the_posts_made_while_it_exists) {
  platform::notify::post_distributed_notification({"before", "org.zunto.hobbard", true});
  platform::notify::recorder first;
  platform::notify::post_distributed_notification({"one", "org.zunto.hobbard", true});
  {
    platform::notify::recorder second;
    platform::notify::post_distributed_notification({"two", "", false});
    EXPECT_EQ(second.notifications(), (std::vector<notification>{{"two", "", false}}));
  }
  EXPECT_EQ(first.notifications(), (std::vector<notification>{{"one", "org.zunto.hobbard", true}, {"two", "", false}}));
}
