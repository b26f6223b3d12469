#include "zunto/filesystem/filesystem.hpp"

#include "support/files.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include <filesystem>
#include <string>

namespace {

using hbd_test::mode_of;
using hbd_test::read_file;
using hbd_test::scoped_umask;
using hbd_test::write_file;

std::size_t entry_count(const std::filesystem::path& directory) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) {
    ++count;
  }
  return count;
}

} // namespace

TEST(filesystem, parent_directory_is_found_on_the_text) {
  const struct {
    const char* path;
    const char* parent;
  } cases[] = {
      {"/tmp/a/b", "/tmp/a"},
      {"/tmp/a/b/", "/tmp/a"},
      {"/tmp", "/"},
      {"/tmp/", "/"},
      {"/", "/"},
      {"//", "/"},
      {"a/b", "a"},
      {"a", "."},
      {"a/", "."},
      {"", "."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zunto::filesystem::parent_directory(c.path), c.parent) << "path: \"" << c.path << "\"";
  }
}

TEST(filesystem, creates_missing_parents_and_sets_only_the_innermost_to_the_exact_mode) {
  hbd_test::temporary_directory directory;
  scoped_umask mask(022);
  const auto innermost = directory.path() / "a/b/c";

  ASSERT_TRUE(zunto::filesystem::create_directory_with_intermediate_directories(innermost.string(), 0777));
  EXPECT_EQ(mode_of(directory.path() / "a"), 0755u);
  EXPECT_EQ(mode_of(directory.path() / "a/b"), 0755u);
  EXPECT_EQ(mode_of(innermost), 0777u);

  // An existing directory is still given the mode.
  ASSERT_TRUE(zunto::filesystem::create_directory_with_intermediate_directories(innermost.string(), 0700));
  EXPECT_EQ(mode_of(innermost), 0700u);
  EXPECT_EQ(mode_of(directory.path() / "a/b"), 0755u);

  // A trailing slash names the same directory.
  EXPECT_TRUE(zunto::filesystem::create_directory_with_intermediate_directories(innermost.string() + "/", 0750));
  EXPECT_EQ(mode_of(innermost), 0750u);
}

TEST(filesystem, creating_where_a_regular_file_stands_fails_and_changes_nothing) {
  hbd_test::temporary_directory directory;
  const auto file = directory.path() / "f";
  write_file(file, "content");
  ::chmod(file.c_str(), 0644);

  EXPECT_FALSE(zunto::filesystem::create_directory_with_intermediate_directories(file.string(), 0700));
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_EQ(mode_of(file), 0644u);
  EXPECT_EQ(read_file(file), "content");

  EXPECT_FALSE(zunto::filesystem::create_directory_with_intermediate_directories((file / "sub").string(), 0700));
  EXPECT_FALSE(zunto::filesystem::create_directory_with_intermediate_directories((file / "sub/deeper").string(), 0700));
  EXPECT_EQ(read_file(file), "content");
}

TEST(filesystem, copy_replaces_the_destination_and_keeps_its_mode) {
  hbd_test::temporary_directory directory;
  const auto source = directory.path() / "source";
  const auto destination = directory.path() / "destination";
  // Larger than one read, so the copy loops.
  std::string content(std::size_t{200} * 1024, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) {
    content[i] = static_cast<char>(i * 7);
  }
  write_file(source, content);
  write_file(destination, "old content that is longer than nothing");
  ::chmod(destination.c_str(), 0600);

  ASSERT_TRUE(zunto::filesystem::copy(source.string(), destination.string()));
  EXPECT_EQ(read_file(destination), content);
  EXPECT_EQ(mode_of(destination), 0600u);
  EXPECT_EQ(read_file(source), content);
  EXPECT_EQ(entry_count(directory.path()), 2u); // no temporary file left behind

  const auto fresh = directory.path() / "fresh";
  ASSERT_TRUE(zunto::filesystem::copy(source.string(), fresh.string()));
  EXPECT_EQ(read_file(fresh), content);
}

TEST(filesystem, copy_onto_itself_keeps_the_file_whole) {
  hbd_test::temporary_directory directory;
  const auto file = directory.path() / "file";
  write_file(file, "keep me");

  EXPECT_TRUE(zunto::filesystem::copy(file.string(), file.string()));
  EXPECT_EQ(read_file(file), "keep me");
  EXPECT_EQ(entry_count(directory.path()), 1u);
}

TEST(filesystem, failed_copy_reports_false_and_leaves_the_destination_untouched) {
  hbd_test::temporary_directory directory;
  const auto source = directory.path() / "source";
  const auto destination = directory.path() / "destination";
  const auto not_a_directory = directory.path() / "plain";
  write_file(source, "new");
  write_file(destination, "old");
  write_file(not_a_directory, "plain");
  std::filesystem::create_directory(directory.path() / "folder");

  const struct {
    const char* name;
    std::filesystem::path from;
    std::filesystem::path to;
  } cases[] = {
      {"missing source", directory.path() / "missing", destination},
      {"source is a directory", directory.path() / "folder", destination},
      {"destination folder is a regular file", source, not_a_directory / "destination"},
      {"destination folder missing", source, directory.path() / "missing/destination"},
      {"destination is a directory", source, directory.path() / "folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(zunto::filesystem::copy(c.from.string(), c.to.string()));
  }
  EXPECT_EQ(read_file(destination), "old");
  EXPECT_EQ(read_file(not_a_directory), "plain");
  EXPECT_TRUE(std::filesystem::is_empty(directory.path() / "folder"));
  EXPECT_EQ(entry_count(directory.path()), 4u); // no temporary file left behind
}

TEST(filesystem, copy_to_new_file_makes_a_file_of_exactly_the_mode_and_never_replaces_one) {
  hbd_test::temporary_directory directory;
  scoped_umask mask(022);
  const auto source = directory.path() / "source";
  write_file(source, "the bytes");

  const auto fresh = directory.path() / "fresh";
  ASSERT_TRUE(zunto::filesystem::copy_to_new_file(source.string(), fresh.string(), 0600));
  EXPECT_EQ(read_file(fresh), "the bytes");
  EXPECT_EQ(mode_of(fresh), 0600u);
  ASSERT_TRUE(zunto::filesystem::copy_to_new_file(source.string(), (directory.path() / "open").string(), 0644));
  EXPECT_EQ(mode_of(directory.path() / "open"), 0644u);

  const auto existing = directory.path() / "existing";
  write_file(existing, "older");
  const auto dangling = directory.path() / "dangling";
  std::filesystem::create_symlink(directory.path() / "nowhere", dangling);
  for (const auto& destination : {fresh, existing, dangling}) {
    SCOPED_TRACE(destination);
    errno = 0;
    EXPECT_FALSE(zunto::filesystem::copy_to_new_file(source.string(), destination.string(), 0600));
    EXPECT_EQ(errno, EEXIST);
  }
  EXPECT_EQ(read_file(fresh), "the bytes");
  EXPECT_EQ(read_file(existing), "older");
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "nowhere"));
  EXPECT_FALSE(zunto::filesystem::copy_to_new_file((directory.path() / "missing").string(),
                                                   (directory.path() / "other").string(), 0600));
  EXPECT_EQ(entry_count(directory.path()), 5u); // no temporary file left behind
}

TEST(filesystem, copies_refuse_a_source_that_is_no_regular_file_without_waiting_on_it) {
  hbd_test::temporary_directory directory;
  const auto fifo = directory.path() / "fifo";
  hbd_test::make_hostile_file(fifo, hbd_test::hostile_file::fifo);
  // A device that ends at once: a copy that took it anyway would not fill the disk.
  const auto device = directory.path() / "device";
  std::filesystem::create_symlink("/dev/null", device);
  const auto destination = directory.path() / "destination";
  write_file(destination, "old");

  for (const auto& source : {fifo, device}) {
    SCOPED_TRACE(source);
    hbd_test::watchdog watchdog(source.string());
    errno = 0;
    EXPECT_FALSE(zunto::filesystem::copy(source.string(), destination.string()));
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_FALSE(zunto::filesystem::copy_to_new_file(source.string(), (directory.path() / "new").string(), 0600));
    EXPECT_EQ(errno, EINVAL);
  }
  EXPECT_EQ(read_file(destination), "old");
  EXPECT_EQ(entry_count(directory.path()), 3u); // no temporary file left behind, no new file
}

TEST(filesystem, resolve_symbolic_links_follows_the_links_at_the_end_of_a_path) {
  hbd_test::temporary_directory directory;
  const auto root = directory.path().string();
  write_file(directory.path() / "file", "x");
  std::filesystem::create_directory(directory.path() / "sub");
  std::filesystem::create_symlink(directory.path() / "file", directory.path() / "absolute");
  std::filesystem::create_symlink("../absolute", directory.path() / "sub/relative");
  std::filesystem::create_symlink("missing", directory.path() / "dangling");
  std::filesystem::create_symlink("loop", directory.path() / "loop");

  const struct {
    std::string path;
    std::optional<std::string> resolved;
  } cases[] = {
      {root + "/file", root + "/file"},        {root + "/none", root + "/none"},
      {root + "/absolute", root + "/file"},    {root + "/sub/relative", root + "/file"},
      {root + "/dangling", root + "/missing"}, {root + "/loop", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(zunto::filesystem::resolve_symbolic_links(c.path), c.resolved);
  }
}

TEST(filesystem, read_all_reads_to_the_end_and_refuses_more_than_the_limit) {
  hbd_test::temporary_directory directory;
  const auto path = directory.path() / "file";
  const std::string content(200 * 1024 + 7, 'x'); // several reads
  write_file(path, content);

  const auto read = [&](std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    auto result = zunto::filesystem::read_all(fd, limit);
    const int error = errno;
    ::close(fd);
    errno = error;
    return result;
  };
  EXPECT_EQ(read(content.size()), content);
  EXPECT_EQ(read(content.size() - 1), std::nullopt);
  EXPECT_EQ(errno, EFBIG);

  // A stream tells no size up front; the limit still holds.
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);
  ASSERT_EQ(::write(pipe_ends[1], "abcdef", 6), 6);
  ::close(pipe_ends[1]);
  EXPECT_EQ(zunto::filesystem::read_all(pipe_ends[0], 5), std::nullopt);
  EXPECT_EQ(errno, EFBIG);
  ::close(pipe_ends[0]);
}
