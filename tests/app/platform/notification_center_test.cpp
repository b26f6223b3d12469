#include "platform/NotificationCenter.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(NotificationCenter, delivers_the_object_as_posted_to_observers_of_that_name_before_post_returns) {
  grellan::NotificationCenter center;
  std::vector<QVariant> seen;
  auto token = center.addObserver("changeIndicator", [&](const QVariant& object) { seen.push_back(object); });
  auto other = center.addObserver("other", [](const QVariant&) { ADD_FAILURE() << "wrong name"; });

  center.post("changeIndicator", 1);
  center.post("changeIndicator", QString("text"));
  center.post("changeIndicator");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], QVariant(1));
  EXPECT_EQ(seen[1], QVariant(QString("text")));
  EXPECT_FALSE(seen[2].isValid());

  token = {};
  center.post("changeIndicator", 2);
  EXPECT_EQ(seen.size(), 3u);
}

} // namespace
