#include "zunto/cf/cf_ptr.hpp"

#include "platform/cf/string.hpp"

#include <gtest/gtest.h>

#include <utility>

using string_ptr = zunto::cf::cf_ptr<platform::cf::string_ref>;

namespace {

// Two strings whose only other reference is this fixture's own.
class cf_ptr_test : public testing::Test {
protected:
  ~cf_ptr_test() override {
    platform::cf::release(a_);
    platform::cf::release(b_);
  }

  static long count(platform::cf::string_ref string) { return platform::cf::get_retain_count(string); }

  platform::cf::string_ref a_ = platform::cf::string_create_with_utf8("a");
  platform::cf::string_ref b_ = platform::cf::string_create_with_utf8("b");
};

} // namespace

TEST_F(cf_ptr_test, holds_null_without_retaining) {
  const string_ptr empty;
  const string_ptr from_null(nullptr);
  EXPECT_FALSE(empty);
  EXPECT_FALSE(from_null);
  EXPECT_EQ(from_null.get(), nullptr);

  string_ptr copy(from_null);
  string_ptr assigned(a_);
  assigned = copy; // releases a, retains nothing
  EXPECT_FALSE(assigned);
  EXPECT_EQ(count(a_), 1);
}

TEST_F(cf_ptr_test, construction_copy_and_destruction_keep_one_count_each) {
  {
    const string_ptr first(a_);
    EXPECT_TRUE(first);
    EXPECT_EQ(first.get(), a_);
    EXPECT_EQ(count(a_), 2);
    {
      const string_ptr copy(first);
      EXPECT_EQ(copy.get(), a_);
      EXPECT_EQ(count(a_), 3);
    }
    EXPECT_EQ(count(a_), 2);
  }
  EXPECT_EQ(count(a_), 1);
}

TEST_F(cf_ptr_test, move_hands_the_count_over_and_empties_the_source) {
  string_ptr source(a_);
  string_ptr moved(std::move(source));
  EXPECT_FALSE(source); // NOLINT(bugprone-use-after-move): emptied by contract
  EXPECT_EQ(moved.get(), a_);
  EXPECT_EQ(count(a_), 2);

  string_ptr target(b_);
  target = std::move(moved);
  EXPECT_FALSE(moved); // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(target.get(), a_);
  EXPECT_EQ(count(a_), 2);
  EXPECT_EQ(count(b_), 1);
}

TEST_F(cf_ptr_test, copy_assignment_retains_the_new_reference_and_releases_the_old) {
  string_ptr target(a_);
  const string_ptr other(b_);
  target = other;
  EXPECT_EQ(target.get(), b_);
  EXPECT_EQ(count(a_), 1);
  EXPECT_EQ(count(b_), 3);
}

TEST_F(cf_ptr_test, self_assignment_keeps_the_reference) {
  string_ptr pointer(a_);
  string_ptr& alias = pointer; // spelled through an alias so the compiler does not flag it
  pointer = alias;
  EXPECT_EQ(pointer.get(), a_);
  EXPECT_EQ(count(a_), 2);

  pointer = std::move(alias);
  EXPECT_EQ(pointer.get(), a_);
  EXPECT_EQ(count(a_), 2);

  pointer.reset(a_);
  EXPECT_EQ(pointer.get(), a_);
  EXPECT_EQ(count(a_), 2);
}

TEST_F(cf_ptr_test, reset_releases_and_optionally_takes_a_new_reference) {
  string_ptr pointer(a_);
  pointer.reset(b_);
  EXPECT_EQ(count(a_), 1);
  EXPECT_EQ(count(b_), 2);
  pointer.reset();
  EXPECT_FALSE(pointer);
  EXPECT_EQ(count(b_), 1);
}
