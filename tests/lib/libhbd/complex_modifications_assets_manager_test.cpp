#include "libhbd.h"
#include "support/files.hpp"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

std::filesystem::path user_directory() { return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "hobbard"; }
std::filesystem::path assets_directory() { return user_directory() / "assets/complex_modifications"; }
std::filesystem::path example_file() {
  return std::filesystem::path(std::getenv("HBD_SYSTEM_ROOT")) /
         "Library/Application Support/org.zunto/Hobbard-Suite/complex_modifications_rules_example.json";
}

std::string asset(const std::string& title, const std::vector<std::string>& descriptions) {
  std::string rules;
  for (const auto& description : descriptions) {
    rules += std::string(rules.empty() ? "" : ",") + R"({"description": ")" + description +
             R"(", "manipulators": [{"type": "basic", "from": {"key_code": "a"}}]})";
  }
  return R"({"title": ")" + title + R"(", "rules": [)" + rules + "]}";
}

class libhbd_complex_modifications_assets_manager_test : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(assets_directory());
    std::filesystem::create_directories(example_file().parent_path());
    hbd_test::write_file(example_file(), asset("Example", {"example rule"}));
    hbd_test::write_file(assets_directory() / "b.json", asset("B user", {"b first", "b second"}));
    hbd_test::write_file(assets_directory() / "a.json", asset("A user", {"a only"}));
    libhbd_initialize();
    libhbd_enable_configuration_monitor([](void* handle, void* context) { *static_cast<void**>(context) = handle; },
                                        &handle_);
    libhbd_disable_configuration_monitor();
    libhbd_enable_complex_modifications_assets_manager();
  }

  void TearDown() override {
    libhbd_core_configuration_terminate(&handle_);
    libhbd_terminate();
    std::filesystem::remove_all(user_directory());
    std::filesystem::remove(example_file());
  }

  void* handle_ = nullptr;
};

} // namespace

TEST_F(libhbd_complex_modifications_assets_manager_test, lists_the_example_and_the_user_files_by_title) {
  // 2021-01-01T00:00:00Z, and half a second more that is cut away.
  const timespec times[2] = {{1609459200, 500000000}, {1609459200, 500000000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (assets_directory() / "a.json").c_str(), times, 0), 0);

  libhbd_complex_modifications_assets_manager_reload();
  ASSERT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 3u);
  const struct {
    const char* title;
    bool user_file;
    std::vector<std::string> descriptions;
  } expected[] = {
      {"A user", true, {"a only"}},
      {"B user", true, {"b first", "b second"}},
      {"Example", false, {"example rule"}},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].title);
    EXPECT_STREQ(libhbd_complex_modifications_assets_manager_get_file_title(i), expected[i].title);
    EXPECT_EQ(libhbd_complex_modifications_assets_manager_user_file(i), expected[i].user_file);
    ASSERT_EQ(libhbd_complex_modifications_assets_manager_get_rules_size(i), expected[i].descriptions.size());
    for (std::size_t j = 0; j < expected[i].descriptions.size(); ++j) {
      EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_rule_description(i, j), expected[i].descriptions[j]);
    }
    EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_rule_description(i, expected[i].descriptions.size()),
              nullptr);
    EXPECT_GT(libhbd_complex_modifications_assets_manager_get_file_last_write_time(i), 0);
  }
  EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_file_last_write_time(0), 1609459200);
}

TEST_F(libhbd_complex_modifications_assets_manager_test, adds_copies_of_a_rule_to_the_front_of_the_selected_profile) {
  libhbd_core_configuration_push_back_profile(handle_);
  libhbd_core_configuration_select_profile(handle_, 1);
  libhbd_complex_modifications_assets_manager_reload();

  libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(1, 1, handle_);
  libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(0, 0, handle_);
  libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(0, 0, handle_);
  // Out of range either way.
  libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(0, 1, handle_);
  libhbd_complex_modifications_assets_manager_add_rule_to_core_configuration_selected_profile(3, 0, handle_);

  const std::vector<std::string> expected{"a only", "a only", "b second"};
  ASSERT_EQ(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle_), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(handle_, i),
              expected[i]);
  }
  libhbd_core_configuration_select_profile(handle_, 0);
  EXPECT_EQ(libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(handle_), 0u);
}

TEST_F(libhbd_complex_modifications_assets_manager_test, erases_only_user_files_and_the_list_waits_for_a_reload) {
  // A user file may reach outside the folder through a link; the link goes, not its target.
  hbd_test::write_file(user_directory() / "outside.json", asset("C linked", {"c"}));
  std::filesystem::create_symlink(user_directory() / "outside.json", assets_directory() / "c.json");
  libhbd_complex_modifications_assets_manager_reload();
  ASSERT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 4u);
  ASSERT_STREQ(libhbd_complex_modifications_assets_manager_get_file_title(2), "C linked");

  libhbd_complex_modifications_assets_manager_erase_file(3); // the example file
  libhbd_complex_modifications_assets_manager_erase_file(0);
  libhbd_complex_modifications_assets_manager_erase_file(2);
  libhbd_complex_modifications_assets_manager_erase_file(4);
  EXPECT_TRUE(std::filesystem::exists(example_file()));
  EXPECT_FALSE(std::filesystem::exists(assets_directory() / "a.json"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(assets_directory() / "c.json")));
  EXPECT_TRUE(std::filesystem::exists(user_directory() / "outside.json"));
  EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 4u);
  EXPECT_STREQ(libhbd_complex_modifications_assets_manager_get_file_title(0), "A user");

  libhbd_complex_modifications_assets_manager_reload();
  ASSERT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 2u);
  EXPECT_STREQ(libhbd_complex_modifications_assets_manager_get_file_title(0), "B user");
  EXPECT_STREQ(libhbd_complex_modifications_assets_manager_get_file_title(1), "Example");
}

TEST_F(libhbd_complex_modifications_assets_manager_test, the_member_logs_and_ends_with_the_library) {
  hbd_test::log_capture log;
  // Replaces the member that SetUp enabled.
  libhbd_enable_complex_modifications_assets_manager();
  libhbd_complex_modifications_assets_manager_reload();
  ASSERT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 3u);
  libhbd_disable_complex_modifications_assets_manager();
  EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 0u);
  libhbd_enable_complex_modifications_assets_manager();
  libhbd_complex_modifications_assets_manager_reload();
  libhbd_terminate();
  EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 0u);
  EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_file_title(0), nullptr);
  const std::vector<std::string> expected{
      "libhbd_complex_modifications_assets_manager",
      "~libhbd_complex_modifications_assets_manager",
      "~libhbd_complex_modifications_assets_manager",
      "libhbd_complex_modifications_assets_manager",
      "libhbd_terminate",
      "~libhbd_complex_modifications_assets_manager",
  };
  EXPECT_EQ(log.texts(), expected);
}

TEST_F(libhbd_complex_modifications_assets_manager_test, one_thread_reloads_while_another_lists) {
  libhbd_complex_modifications_assets_manager_reload();
  constexpr int rounds = 200;
  std::atomic<bool> start{false};
  std::thread reloader([&] {
    start.wait(false);
    for (int i = 0; i < rounds; ++i) {
      libhbd_complex_modifications_assets_manager_reload();
    }
  });
  start = true;
  start.notify_all();
  // Every reload finds the same three files, so every answer is whole; texts are not read, since
  // they end with the next reload.
  for (int i = 0; i < rounds; ++i) {
    EXPECT_EQ(libhbd_complex_modifications_assets_manager_get_files_size(), 3u);
    for (std::size_t file = 0; file < 3; ++file) {
      EXPECT_NE(libhbd_complex_modifications_assets_manager_get_file_title(file), nullptr);
      EXPECT_NE(libhbd_complex_modifications_assets_manager_get_rule_description(file, 0), nullptr);
      EXPECT_GT(libhbd_complex_modifications_assets_manager_get_rules_size(file), 0u);
    }
  }
  reloader.join();
}
