#include "platform/fsevents/own_writes.hpp"

#include "support/file_writer_process.hpp"
#include "support/temporary_directory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform::fsevents::is_own_write;
using platform::fsevents::note_own_write;

TEST(platform_fsevents_own_writes, a_noted_file_is_own_until_someone_else_replaces_it) {
  hbd_test::temporary_directory directory;
  const auto file = (directory.path() / "file").string();
  const auto temporary = file + ".tmp";

  EXPECT_FALSE(is_own_write(file));
  note_own_write(file); // missing: ignored
  EXPECT_FALSE(is_own_write(file));

  std::ofstream(temporary) << "mine";
  note_own_write(temporary);
  std::filesystem::rename(temporary, file);
  EXPECT_TRUE(is_own_write(file));

  // The same bytes put in place by someone else are another file.
  ASSERT_TRUE(hbd_test::file_writer_process::run({"replace", file, "mine"}));
  EXPECT_FALSE(is_own_write(file));

  note_own_write(file);
  ASSERT_TRUE(hbd_test::file_writer_process::run({"write", file, "theirs"}));
  EXPECT_FALSE(is_own_write(file));
}

} // namespace
