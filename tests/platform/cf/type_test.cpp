#include "platform/cf/type.hpp"

#include <gtest/gtest.h>

namespace {

class probe final : public platform::cf::type {
public:
  explicit probe(bool& destroyed) : destroyed_(destroyed) {}
  ~probe() override { destroyed_ = true; }

private:
  bool& destroyed_;
};

} // namespace

TEST(platform_cf_type, last_release_destroys_the_object) {
  bool destroyed = false;
  platform::cf::type_ref object = new probe(destroyed);
  EXPECT_EQ(platform::cf::get_retain_count(object), 1);

  EXPECT_EQ(platform::cf::retain(object), object);
  EXPECT_EQ(platform::cf::get_retain_count(object), 2);

  platform::cf::release(object);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(platform::cf::get_retain_count(object), 1);

  platform::cf::release(object);
  EXPECT_TRUE(destroyed);
}

TEST(platform_cf_type, null_is_ignored) {
  EXPECT_EQ(platform::cf::retain(nullptr), nullptr);
  platform::cf::release(nullptr);
  EXPECT_EQ(platform::cf::get_retain_count(nullptr), 0);
}
