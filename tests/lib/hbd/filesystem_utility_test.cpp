#include "hbd/filesystem_utility.hpp"

#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace {

void touch(const std::filesystem::path& path) { std::ofstream{path}; }

} // namespace

TEST(filesystem_utility, the_greatest_socket_name_in_byte_order_wins) {
  const struct {
    const char* name;
    std::initializer_list<const char*> entries;
    const char* expected;
  } cases[] = {
      {"byte order, not number order", {"1000.sock", "999.sock"}, "999.sock"},
      {"other files ignored", {"a.sock", "z.sock.old", "zz.txt", "b.sock"}, "b.sock"},
      {"hidden names do not match", {".z.sock", "a.sock"}, "a.sock"},
      {"nothing matches", {"socket", "sock"}, "not_found.sock"},
      {"empty directory", {}, "not_found.sock"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hbd_test::temporary_directory directory;
    for (const char* entry : c.entries) {
      touch(directory.path() / entry);
    }
    EXPECT_EQ(hbd::filesystem_utility::find_socket_file_path(directory.path()), directory.path() / c.expected);
  }
}

TEST(filesystem_utility, a_missing_or_oddly_named_directory_is_taken_as_it_is) {
  hbd_test::temporary_directory directory;
  const auto missing = directory.path() / "missing";
  EXPECT_EQ(hbd::filesystem_utility::find_socket_file_path(missing), missing / "not_found.sock");

  // Pattern characters in the directory's own name match only themselves.
  const auto odd = directory.path() / "hbd_[grabber]*";
  std::filesystem::create_directory(odd);
  std::filesystem::create_directory(directory.path() / "hbd_g");
  touch(directory.path() / "hbd_g/z.sock");
  touch(odd / "a.sock");
  EXPECT_EQ(hbd::filesystem_utility::find_socket_file_path(odd), odd / "a.sock");
}
