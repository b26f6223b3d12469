#include "zunto/filesystem/temporary_file.hpp"

#include "support/files.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <set>
#include <string>
#include <string_view>

namespace {

using hbd_test::entry_names;
using hbd_test::write_file;

} // namespace

TEST(temporary_file, two_files_beside_one_target_are_two_files) {
  hbd_test::temporary_directory directory;
  const auto target = (directory.path() / "target.json").string();
  auto first = zunto::filesystem::temporary_file::create_beside(target, 0600);
  auto second = zunto::filesystem::temporary_file::create_beside(target, 0600);
  ASSERT_TRUE(first.descriptor);
  ASSERT_TRUE(second.descriptor);
  EXPECT_NE(first.path, second.path);
  EXPECT_EQ(first.path.rfind(target + ".tmp." + std::to_string(::getpid()) + ".", 0), 0u);
  EXPECT_EQ(hbd_test::mode_of(first.path), 0600u);
}

// Only what is surely a killed writer's file goes: a name that merely looks like one stays.
TEST(temporary_file, only_stale_files_of_the_chosen_targets_are_removed) {
  hbd_test::temporary_directory directory;
  const auto stale = hbd_test::stale_temporary_file(directory.path() / "target.json").filename().string();
  const std::string prefix = "target.json.tmp.";
  const auto dead_pid = stale.substr(prefix.size(), stale.rfind('.') - prefix.size());
  const std::set<std::string> staying = {
      "target.json",
      "target.json.tmp." + std::to_string(::getpid()) + ".0", // a running process's
      "target.json.tmp." + dead_pid,                          // no counter
      "target.json.tmp." + dead_pid + ".x",
      "target.json.tmp.x.0",
      "target.json.tmp.0.0",  // pid 0 would ask about this process group
      "target.json.tmp.-1.0", // -1 would ask about every process
      "target.json.bak." + dead_pid + ".0",
      "other.json.tmp." + dead_pid + ".0", // another target's
  };
  for (const auto& name : staying) {
    write_file(directory.path() / name, "kept");
  }
  write_file(directory.path() / stale, "left by a killed writer");

  zunto::filesystem::remove_stale_temporary_files(directory.path().string(),
                                                  [](std::string_view name) { return name == "target.json"; });
  EXPECT_EQ(entry_names(directory.path()), staying);
}
