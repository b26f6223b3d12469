#include "zunto/osx/frontmost_application_monitor/application.hpp"

#include <gtest/gtest.h>

#include <vector>

using zunto::osx::frontmost_application_monitor::application;

TEST(frontmost_application, json_holds_only_the_known_parts) {
  struct test_case {
    application value;
    nlohmann::json expected;
  };
  const std::vector<test_case> cases{
      {application(), nlohmann::json::object()},
      {application("com.apple.Terminal", std::nullopt), {{"bundle_identifier", "com.apple.Terminal"}}},
      {application(std::nullopt, "/usr/bin/vim"), {{"file_path", "/usr/bin/vim"}}},
      // Known but empty is still known.
      {application("", ""), {{"bundle_identifier", ""}, {"file_path", ""}}},
  };
  for (const auto& c : cases) {
    // The target's old content goes.
    nlohmann::json json = {{"stale", true}};
    to_json(json, c.value);
    EXPECT_EQ(json, c.expected) << c.expected.dump();
    EXPECT_EQ(nlohmann::json(c.value), c.expected);
  }
}

TEST(frontmost_application, equality_tells_unknown_from_empty) {
  EXPECT_EQ(application("a", "/p"), application("a", "/p"));
  EXPECT_NE(application("a", "/p"), application("a", "/q"));
  EXPECT_NE(application("a", std::nullopt), application("a", ""));
  EXPECT_NE(application(std::nullopt, "/p"), application("", "/p"));
  EXPECT_EQ(application(), application(std::nullopt, std::nullopt));
}

TEST(frontmost_application, hash_follows_both_parts_in_their_order) {
  const std::hash<application> hash;
  EXPECT_EQ(hash(application("a", "/b")), hash(application("a", "/b")));
  EXPECT_NE(hash(application("a", std::nullopt)), hash(application(std::nullopt, "a")));
  EXPECT_NE(hash(application("a", "/b")), hash(application("a", "/c")));
}
