#include "hbd/complex_modifications_assets_manager.hpp"

#include "hbd/constants.hpp"
#include "support/files.hpp"
#include "support/log_capture.hpp"
#include "support/temporary_directory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using hbd::complex_modifications_assets_file;
using hbd::complex_modifications_assets_manager;
using hbd_test::write_file;

std::string asset(const std::string& title, const std::string& description = "rule") {
  return R"({"title": ")" + title + R"(", "maintainers": ["someone"], "rules": [{"description": ")" + description +
         R"(", "manipulators": [{"type": "basic", "from": {"key_code": "a"}, "to": [{"key_code": "b"}]}]}]})";
}

std::vector<std::string> titles(const complex_modifications_assets_manager& manager) {
  std::vector<std::string> result;
  for (const auto& file : manager.get_files()) {
    result.push_back(file.get_title());
  }
  return result;
}

std::vector<std::string> error_lines(const hbd_test::log_capture& capture) {
  std::vector<std::string> result;
  for (const auto& entry : capture.entries()) {
    if (entry.level == spdlog::level::err) {
      result.push_back(entry.text);
    }
  }
  return result;
}

} // namespace

TEST(complex_modifications_assets_manager, reads_the_files_of_a_folder_sorted_by_title) {
  hbd_test::temporary_directory directory;
  const auto d = directory.path();
  write_file(d / "b.json", asset("B", "second"));
  write_file(d / "a.txt", asset("A", "first")); // any name
  write_file(d / "same.json", asset("B", "also B"));
  write_file(d / ".hidden.json", asset("Hidden"));
  fs::create_directory(d / "sub");
  write_file(d / "sub/inner.json", asset("Inner")); // not entered
  fs::create_symlink(d / "sub/inner.json", d / "link.json");
  ASSERT_EQ(::mkfifo((d / "fifo.json").c_str(), 0600), 0); // passed over, never opened

  hbd_test::log_capture capture;
  complex_modifications_assets_manager manager;
  EXPECT_TRUE(manager.get_files().empty());
  manager.reload(d.string(), false);

  EXPECT_THAT(titles(manager), testing::ElementsAre("A", "B", "B", "Hidden", "Inner"));
  EXPECT_EQ(manager.get_files()[0].get_file_path(), (d / "a.txt").string());
  ASSERT_EQ(manager.get_files()[0].get_rules().size(), 1u);
  EXPECT_EQ(manager.get_files()[0].get_rules()[0].get_description(), "first");
  EXPECT_TRUE(capture.entries().empty());

  // A reload starts over.
  fs::remove(d / "b.json");
  manager.reload(d.string(), false);
  EXPECT_EQ(manager.get_files().size(), 4u);
}

TEST(complex_modifications_assets_manager, leaves_out_each_failing_file_with_one_error_line) {
  hbd_test::temporary_directory directory;
  const auto d = directory.path();
  write_file(d / "good.json", asset("Good"));
  write_file(d / ".notes", "not json");
  write_file(d / "title.json", R"({"title": 1})");
  write_file(d / "maintainers.json", R"({"maintainers": "me"})");
  write_file(d / "rules.json", R"({"title": "x", "rules": {}})");
  write_file(d / "empty_rule.json", R"({"title": "x", "rules": [{"description": "no manipulators"}]})");
  write_file(d / "array.json", "[]");
  write_file(d / "deep.json", std::string(100000, '[') + std::string(100000, ']'));
  // Large and sparse: refused from its size, before anything is read.
  { std::ofstream(d / "large.json"); }
  fs::resize_file(d / "large.json", complex_modifications_assets_file::maximum_file_size + 1);
  // Links are followed, and what they reach must be a regular file.
  ASSERT_EQ(::mkfifo((directory.path() / "fifo").c_str(), 0600), 0);
  fs::create_directory(d / "folder");
  fs::create_symlink(d / "fifo", d / "to_fifo.json");
  fs::create_symlink(d / "folder", d / "to_folder.json");
  fs::create_symlink(d / "missing", d / "dangling.json");

  hbd_test::log_capture capture;
  complex_modifications_assets_manager manager;
  manager.reload(d.string(), false);
  EXPECT_THAT(titles(manager), testing::ElementsAre("Good"));

  const auto in = [&](const char* name) { return "Error in " + (d / name).string() + ": "; };
  EXPECT_THAT(error_lines(capture),
              testing::UnorderedElementsAre(
                  testing::StartsWith(in(".notes") + "[json.exception.parse_error.101]"),
                  in("title.json") + "`title` must be string, but is `1`",
                  in("maintainers.json") + "`maintainers` must be array, but is `\"me\"`",
                  in("rules.json") + "`rules` must be array, but is `{}`",
                  in("empty_rule.json") + "`rules` entry error: `manipulators` is missing or empty in "
                                          "{\"description\":\"no manipulators\"}",
                  in("array.json") + "json must be object, but is `[]`",
                  in("deep.json") + "JSON is nested deeper than 512 levels",
                  in("large.json") + (d / "large.json").string() + " is larger than 33554432 bytes",
                  in("to_fifo.json") + (d / "to_fifo.json").string() + " is not a regular file",
                  in("to_folder.json") + (d / "to_folder.json").string() + " is not a regular file",
                  in("dangling.json") + "failed to open " + (d / "dangling.json").string()));
}

TEST(complex_modifications_assets_manager, the_example_file_comes_from_the_system_root) {
  const auto& example = complex_modifications_assets_manager::get_example_file_path();
  EXPECT_EQ(example,
            fs::path(std::getenv("HBD_SYSTEM_ROOT")) /
                "Library/Application Support/org.zunto/Hobbard-Suite/complex_modifications_rules_example.json");
  hbd_test::temporary_directory directory;
  write_file(directory.path() / "user.json", asset("User"));

  {
    // Missing: one error line naming it, and the folder's files still load.
    hbd_test::log_capture capture;
    complex_modifications_assets_manager manager;
    manager.reload(directory.path().string(), true);
    EXPECT_THAT(titles(manager), testing::ElementsAre("User"));
    EXPECT_EQ(error_lines(capture),
              std::vector<std::string>({"Error in " + example.string() + ": failed to open " + example.string()}));
  }

  fs::create_directories(example.parent_path());
  write_file(example, asset("Example"));
  complex_modifications_assets_manager manager;
  manager.reload(directory.path().string(), true);
  EXPECT_THAT(titles(manager), testing::ElementsAre("Example", "User"));
  EXPECT_EQ(manager.get_files()[0].get_file_path(), example.string());
  EXPECT_FALSE(manager.get_files()[0].user_file());
  manager.reload((directory.path() / "missing").string(), true);
  EXPECT_THAT(titles(manager), testing::ElementsAre("Example"));
  fs::remove(example);
}

TEST(complex_modifications_assets_file, user_file_compares_whole_path_components) {
  const auto& assets = hbd::constants::get_user_complex_modifications_assets_directory();
  const auto sibling = fs::path(assets.string() + "_other");
  fs::create_directories(assets / "sub");
  fs::create_directories(sibling);
  const struct {
    fs::path path;
    bool user_file;
  } cases[] = {
      {assets / "a.json", true},        {assets / "sub/b.json", true}, {fs::path(assets.string() + "//c.json"), true},
      {assets / "sub/../d.json", true}, {sibling / "e.json", false},   {assets / "../f.json", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    fs::create_directories(c.path.parent_path());
    write_file(c.path, asset("t"));
    EXPECT_EQ(complex_modifications_assets_file(c.path.string()).user_file(), c.user_file);
  }
  fs::remove_all(hbd::constants::get_user_configuration_directory());
}

TEST(complex_modifications_assets_file, last_write_time_is_the_modification_time_or_empty_with_an_error_line) {
  hbd_test::temporary_directory directory;
  const auto path = directory.path() / "a.json";
  write_file(path, asset("A"));
  const complex_modifications_assets_file file(path.string());

  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  const auto expected = std::chrono::seconds(status.st_mtim.tv_sec) + std::chrono::nanoseconds(status.st_mtim.tv_nsec);
  EXPECT_EQ(file.last_write_time(), expected);

  fs::remove(path);
  hbd_test::log_capture capture;
  EXPECT_EQ(file.last_write_time(), std::nullopt);
  EXPECT_EQ(capture.texts(), std::vector<std::string>({"Failed to get last_write_time of " + path.string() +
                                                       ": No such file or directory."}));
}

// The user paths are computed once per process, so the unknown home is tried in a fresh child.
TEST(complex_modifications_assets_file_death_test, without_a_user_folder_no_file_is_a_user_file) {
  const auto check = [] {
    setenv("XDG_CONFIG_HOME", "", 1);
    hbd_test::temporary_directory directory;
    write_file(directory.path() / "a.json", asset("A"));
    std::exit(complex_modifications_assets_file((directory.path() / "a.json").string()).user_file() ? 1 : 0);
  };
  EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}
