#include "zunto/guard_exceptions.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

TEST(guard_exceptions, reports_what_was_thrown_and_gives_the_fallback) {
  const struct {
    std::string name;
    std::function<int()> work;
    int result;
    std::vector<std::string> reports;
  } cases[] = {
      {"returns", [] { return 7; }, 7, {}},
      {"standard exception", []() -> int { throw std::runtime_error("broke"); }, -1, {"broke"}},
      {"anything else", []() -> int { throw 42; }, -1, {"unknown exception"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> reports;
    const auto report = [&](std::string_view message) { reports.emplace_back(message); };
    EXPECT_EQ(zunto::guard_exceptions(-1, c.work, report), c.result) << c.name;
    EXPECT_EQ(reports, c.reports) << c.name;

    reports.clear();
    zunto::guard_exceptions([&] { c.work(); }, report);
    EXPECT_EQ(reports, c.reports) << c.name;
  }
}

TEST(guard_exceptions, a_report_that_throws_is_swallowed) {
  const auto report = [](std::string_view) { throw std::runtime_error("no log"); };
  const auto work = []() -> int { throw std::runtime_error("broke"); };
  EXPECT_EQ(zunto::guard_exceptions(3, work, report), 3);
  // An escaping throw would end the process here.
  zunto::guard_exceptions([] { throw 1; }, report);
}
