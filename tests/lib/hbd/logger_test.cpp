#include "hbd/logger.hpp"

#include "support/log_capture.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <spdlog/spdlog.h>

#include <thread>
#include <vector>

using entry = hbd_test::log_capture::entry;

TEST(logger, is_the_registered_hobbard_logger_and_is_made_once) {
  const auto logger = hbd::logger::get_logger();
  ASSERT_NE(logger, nullptr);
  EXPECT_EQ(logger->name(), "hobbard");
  EXPECT_EQ(spdlog::get("hobbard"), logger);
  EXPECT_EQ(logger->level(), spdlog::level::info);

  // Every thread gets the same logger.
  std::vector<std::shared_ptr<spdlog::logger>> seen(4);
  std::vector<std::thread> threads;
  for (auto& result : seen) {
    threads.emplace_back([&result] { result = hbd::logger::get_logger(); });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  for (const auto& result : seen) {
    EXPECT_EQ(result, logger);
  }
}

TEST(logger, capture_keeps_formatted_lines_with_their_level_and_detaches) {
  {
    hbd_test::log_capture capture;
    hbd::logger::get_logger()->info("parse error in {0}: {1}", "/x/hobbard.json", "unexpected end");
    hbd::logger::get_logger()->warn("{0} is not owned by a valid user.", "/x/hobbard.json");
    hbd::logger::get_logger()->debug("below the default level");
    EXPECT_THAT(capture.entries(),
                testing::ElementsAre(entry{spdlog::level::info, "parse error in /x/hobbard.json: unexpected end"},
                                     entry{spdlog::level::warn, "/x/hobbard.json is not owned by a valid user."}));
    EXPECT_TRUE(capture.wait_for_text("/x/hobbard.json is not owned by a valid user."));
    capture.clear();
    EXPECT_TRUE(capture.texts().empty());
  }
  const auto sink_count = hbd::logger::get_logger()->sinks().size();
  EXPECT_EQ(sink_count, 1u);
}
