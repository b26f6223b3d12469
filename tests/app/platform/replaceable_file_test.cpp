#include "platform/ReplaceableFile.hpp"

#include "support/app/platform/message_capture.hpp"
#include "support/app/platform/odd_files.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace ReplaceableFile = grellan::ReplaceableFile;
using Status = ReplaceableFile::Contents::Status;
using grellan_test::OddFile;

QString text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(ReplaceableFile, reads_a_regular_file_and_tells_a_missing_one_from_an_unreadable_one_at_once) {
  const hbd_test::watchdog watchdog("reading odd files");
  const hbd_test::temporary_directory folder;
  grellan_test::MessageCapture messages;
  std::ofstream(folder.path() / "regular") << "bytes";
  const auto regular = ReplaceableFile::read(text(folder.path() / "regular"));
  EXPECT_EQ(regular.status, Status::read);
  EXPECT_EQ(regular.bytes, "bytes");
  EXPECT_TRUE(regular.regularFile);
  EXPECT_EQ(ReplaceableFile::read(text(folder.path() / "missing")).status, Status::absent);
  EXPECT_EQ(ReplaceableFile::read(text(folder.path() / "regular/below")).status, Status::absent);
  EXPECT_TRUE(messages.messages().isEmpty());

  for (const OddFile kind : grellan_test::oddFiles) {
    SCOPED_TRACE(grellan_test::name(kind));
    const auto path = folder.path() / "odd";
    grellan_test::plant(path, kind);
    const auto odd = ReplaceableFile::read(text(path));
    EXPECT_EQ(odd.status, Status::unreadable);
    EXPECT_TRUE(odd.bytes.isEmpty());
    EXPECT_FALSE(odd.regularFile);
    EXPECT_EQ(messages.count(text(path)), 1);
    messages.clear();
  }

  std::ofstream(folder.path() / "large") << std::string(ReplaceableFile::maximumSize + 1, 'x');
  const auto large = ReplaceableFile::read(text(folder.path() / "large"));
  EXPECT_EQ(large.status, Status::unreadable);
  EXPECT_TRUE(large.regularFile);
  EXPECT_EQ(messages.count("larger than"), 1);
}

TEST(ReplaceableFile, a_write_replaces_only_a_regular_file_and_follows_links_to_one) {
  const hbd_test::watchdog watchdog("writing over odd files");
  const hbd_test::temporary_directory folder;
  const auto path = folder.path() / "sub/file";
  EXPECT_EQ(ReplaceableFile::write(text(path), "first"), std::nullopt);
  EXPECT_EQ(contentOf(path), "first");
  EXPECT_EQ(ReplaceableFile::write(text(path), "second"), std::nullopt);
  EXPECT_EQ(contentOf(path), "second");

  // A dotfiles link stays a link.
  const auto link = folder.path() / "link";
  std::filesystem::create_symlink(path, link);
  EXPECT_EQ(ReplaceableFile::write(text(link), "through"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(contentOf(path), "through");

  // Never a device: a link to a FIFO stands for one here.
  const auto fifo = folder.path() / "fifo";
  grellan_test::plant(fifo, OddFile::fifo);
  std::filesystem::create_symlink(fifo, folder.path() / "to fifo");
  std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "dangling");
  for (const auto& odd : {fifo, folder.path() / "sub", folder.path() / "to fifo", folder.path() / "dangling"}) {
    SCOPED_TRACE(odd.string());
    EXPECT_NE(ReplaceableFile::write(text(odd), "x"), std::nullopt);
  }
  EXPECT_TRUE(grellan_test::stillThere(fifo, OddFile::fifo));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "to fifo"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "nowhere"));
}

TEST(ReplaceableFile, a_file_kept_aside_takes_the_first_free_name_and_never_replaces_one) {
  const hbd_test::temporary_directory folder;
  const auto path = folder.path() / "entry";
  for (const char* expected : {"entry.user", "entry.user.2", "entry.user.3"}) {
    std::ofstream(path) << expected;
    const auto aside = ReplaceableFile::keepAside(text(path), ".user");
    ASSERT_EQ(aside, text(folder.path() / expected));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(contentOf(folder.path() / expected), expected);
  }
  EXPECT_EQ(ReplaceableFile::keepAside(text(path), ".user"), std::nullopt);
}

} // namespace
