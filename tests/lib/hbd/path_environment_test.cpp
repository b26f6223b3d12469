#include "hbd/path_environment.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct user_case {
  const char* name;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  std::string expected_configuration;
  std::string expected_data;
};

} // namespace

TEST(path_environment, user_directories_follow_xdg_then_home) {
  const user_case cases[] = {
      {"xdg set", "/x", "/Users/u", "/x/hobbard", "/x/hobbard"},
      {"xdg with trailing slash", "/x/", std::nullopt, "/x/hobbard", "/x/hobbard"},
      {"home fallback", std::nullopt, "/Users/u", "/Users/u/.config/hobbard", "/Users/u/.local/share/hobbard"},
      {"home with trailing slash", std::nullopt, "/Users/u/", "/Users/u/.config/hobbard",
       "/Users/u/.local/share/hobbard"},
      // An empty XDG value means "no home", and HOME is not consulted.
      {"xdg empty", "", "/Users/u", "", ""},
      {"nothing set", std::nullopt, std::nullopt, "", ""},
      // Relative values would name a different folder in every working folder: a relative XDG value
      // counts as unset, and a relative or empty HOME as unknown.
      {"xdg literal tilde", "~/.config", "/Users/u", "/Users/u/.config/hobbard", "/Users/u/.local/share/hobbard"},
      {"xdg dot", ".", "/Users/u", "/Users/u/.config/hobbard", "/Users/u/.local/share/hobbard"},
      {"xdg relative", "rel/x", "/Users/u", "/Users/u/.config/hobbard", "/Users/u/.local/share/hobbard"},
      {"xdg relative, home empty", "rel/x", "", "", ""},
      {"home empty", std::nullopt, "", "", ""},
      {"home relative", std::nullopt, "rel", "", ""},
      {"home tilde", std::nullopt, "~", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hbd::path_environment configuration{.xdg_config_home = c.xdg, .home = c.home};
    EXPECT_EQ(configuration.user_configuration_directory().string(), c.expected_configuration);
    hbd::path_environment data{.xdg_data_home = c.xdg, .home = c.home};
    EXPECT_EQ(data.user_data_directory().string(), c.expected_data);
  }
}

TEST(path_environment, each_user_directory_reads_only_its_own_xdg_variable) {
  hbd::path_environment environment{.xdg_config_home = "/c", .xdg_data_home = std::nullopt, .home = "/h"};
  EXPECT_EQ(environment.user_configuration_directory().string(), "/c/hobbard");
  EXPECT_EQ(environment.user_data_directory().string(), "/h/.local/share/hobbard");
}

TEST(path_environment, system_paths_keep_their_text_under_the_root) {
  const struct {
    std::optional<std::string> root;
    std::string expected;
  } cases[] = {
      {std::nullopt, "/Library/Application Support/org.zunto/tmp"},
      {"", "/Library/Application Support/org.zunto/tmp"},
      {"/", "/Library/Application Support/org.zunto/tmp"},
      {"/srv/root", "/srv/root/Library/Application Support/org.zunto/tmp"},
      {"/srv/root/", "/srv/root/Library/Application Support/org.zunto/tmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.root.value_or("(unset)"));
    hbd::path_environment environment{.system_root = c.root};
    EXPECT_EQ(environment.system_path("/Library/Application Support/org.zunto/tmp").string(), c.expected);
  }
}
