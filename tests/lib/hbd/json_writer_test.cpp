#include "hbd/json_writer.hpp"

#include "hbd/async_file_writer.hpp"
#include "hbd/dispatcher_utility/scoped_dispatcher_manager.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace {

using hbd::json_writer;
using hbd_test::mode_of;
using hbd_test::read_file;

class json_writer_test : public testing::Test {
protected:
  hbd_test::temporary_directory directory_;
  hbd::dispatcher_utility::scoped_dispatcher_manager manager_;
};

TEST_F(json_writer_test, writes_utf8_with_four_space_indent_and_skips_invalid_utf8) {
  const nlohmann::json json = {
      {"name", "caf\xc3\xa9 \xe6\x97\xa5\xff!"}, // the lone 0xff is not UTF-8
      {"list", {1, 2}},
      {"empty", nlohmann::json::object()},
  };
  const std::string expected = "{\n"
                               "    \"empty\": {},\n"
                               "    \"list\": [\n"
                               "        1,\n"
                               "        2\n"
                               "    ],\n"
                               "    \"name\": \"caf\xc3\xa9 \xe6\x97\xa5!\"\n"
                               "}";

  const auto queued = directory_.path() / "queued/file.json";
  json_writer::async_save_to_file(json, queued.string(), 0755, 0644);
  hbd::async_file_writer::wait();
  EXPECT_EQ(read_file(queued), expected);
  EXPECT_EQ(mode_of(queued), 0644u);

  const auto saved = directory_.path() / "saved/file.json";
  json_writer::sync_save_to_file(json, saved.string(), 0700, 0600);
  EXPECT_EQ(read_file(saved), expected);
  EXPECT_EQ(mode_of(saved), 0600u);
}

TEST_F(json_writer_test, sync_save_throws_when_the_file_cannot_be_written) {
  hbd_test::write_file(directory_.path() / "blocker", "blocker");
  const auto blocked = (directory_.path() / "blocker/file.json").string();

  EXPECT_THAT(
      [&] {
        json_writer::sync_save_to_file({{"a", 1}}, blocked, 0700, 0600);
      },
      testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(blocked)));
  EXPECT_THROW(json_writer::sync_save_to_file({{"a", 1}}, "", 0700, 0600), std::runtime_error);
}

} // namespace
