#include "zunto/spdlog/read_log_files.hpp"

#include "zunto/spdlog/impl/merge_log_file.hpp"

#include "support/temporary_directory.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using zunto::spdlog::find_date_number;
using zunto::spdlog::read_log_files;

TEST(zunto_spdlog_find_date_number, reads_the_seventeen_digits_of_a_bracketed_timestamp) {
  struct date_case {
    std::string line;
    std::optional<std::int64_t> expected;
  };
  const std::vector<date_case> cases = {
      {"[2024-01-02 03:04:05.678] [info] started", 20240102030405678},
      {"[2024-01-02 03:04:05.678]", 20240102030405678}, // exactly 25 bytes
      {"[2024/01/02 03:04:05.678] [info] slashes", std::nullopt},
      {"[2024-01-02 03:04:05.678", std::nullopt}, // 24 bytes
      {"[2024-01-02T03:04:05.678] [info] no space", std::nullopt},
      {"[2024-01-02 03:04:05,678] [info] comma", std::nullopt},
      {"[abcd-01-02 03:04:05.678] [info] letters", std::nullopt},
      {"  continuation line without a date, long enough", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(find_date_number(c.line), c.expected) << c.line;
  }
}

TEST(zunto_spdlog_rotated_log_file_path, inserts_the_index_before_the_extension) {
  EXPECT_EQ(zunto::spdlog::rotated_log_file_path("/var/log/hobbard/grabber.log"), "/var/log/hobbard/grabber.1.log");
  EXPECT_EQ(zunto::spdlog::rotated_log_file_path("/var/log/hobbard/session_monitor.501.log"),
            "/var/log/hobbard/session_monitor.501.1.log");
}

class zunto_spdlog_read_log_files : public testing::Test {
protected:
  std::string write(const std::string& name, const std::string& text) {
    const auto path = (directory_.path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  hbd_test::temporary_directory directory_;
};

TEST_F(zunto_spdlog_read_log_files, merges_files_and_rotated_files_in_time_order) {
  const auto a = write("a.log", "[2024-01-01 00:00:00.003] a3\n"
                                "  continuation of a3\n"
                                "\n"
                                "[2024-01-01 00:00:00.005] a5\n");
  write("a.1.log", "[2024-01-01 00:00:00.001] a1 rotated\n"
                   "[2024-01-01 00:00:00.005] a5 rotated\n");
  const auto b = write("b.log", "[2024-01-01 00:00:00.002] b2\n"
                                "[2024-01-01 00:00:00.005] b5\n"
                                "[2024-01-01 00:00:00.006] b6 \xff tail");
  const auto missing = (directory_.path() / "missing.log").string();

  const auto lines = read_log_files({a, missing, b}, 0);
  const std::vector<std::string> expected = {
      "[2024-01-01 00:00:00.001] a1 rotated",
      "[2024-01-01 00:00:00.002] b2",
      "[2024-01-01 00:00:00.003] a3",
      // Equal times: the file before its rotated file, earlier paths before later ones.
      "[2024-01-01 00:00:00.005] a5",
      "[2024-01-01 00:00:00.005] a5 rotated",
      "[2024-01-01 00:00:00.005] b5",
      "[2024-01-01 00:00:00.006] b6 \xef\xbf\xbd tail",
  };
  EXPECT_EQ(std::vector<std::string>(lines->begin(), lines->end()), expected);
}

TEST_F(zunto_spdlog_read_log_files, keeps_the_newest_lines_up_to_the_maximum) {
  std::string first;
  std::string second;
  for (int i = 0; i < 300; ++i) {
    (i % 2 == 0 ? first : second) += fmt::format("[2024-01-01 00:00:{0:02}.{1:03}] line {2}\n", i / 100, i % 100, i);
  }
  const auto lines = read_log_files({write("first.log", first), write("second.log", second)}, 250);
  ASSERT_EQ(lines->size(), 250u);
  EXPECT_EQ(lines->front(), "[2024-01-01 00:00:00.050] line 50");
  EXPECT_EQ(lines->back(), "[2024-01-01 00:00:02.099] line 299");
}

TEST_F(zunto_spdlog_read_log_files, reads_only_the_newest_bytes_and_cuts_long_lines) {
  using zunto::spdlog::impl::merge_log_file;
  const std::string date = "[2024-01-01 00:00:00.001] ";
  const std::string newest = "[2024-01-01 00:00:00.002] newest\n";
  const std::string long_line = date + std::string(merge_log_file::max_line_length, 'x') + "\n";
  // Lines that reach past the start of the newest bytes are dropped whole.
  const std::string old_text = date + std::string(merge_log_file::max_read_size, 'o') + "\n";
  const std::string kept = date + "kept\n";
  const std::string filler(merge_log_file::max_read_size - kept.size() - newest.size(), '\n');

  const struct {
    const char* name;
    std::string content;
    std::vector<std::string> expected;
  } cases[] = {
      {"a long line is cut",
       long_line + newest,
       {(date + std::string(merge_log_file::max_line_length - date.size(), 'x')), newest.substr(0, newest.size() - 1)}},
      {"a file larger than the cap",
       old_text + kept + filler + newest,
       {date + "kept", newest.substr(0, newest.size() - 1)}},
      {"a single line larger than the cap", old_text, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lines = read_log_files({write("cut.log", c.content)}, 0);
    EXPECT_EQ(std::vector<std::string>(lines->begin(), lines->end()), c.expected);
  }
}

} // namespace
