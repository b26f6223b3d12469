#include "SI/natural.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Each side is copied into a vector of exactly its size, so any read past a range's end is a
// heap overflow that the address sanitizer reports.
bool less(const std::string& lhs, const std::string& rhs) {
  const std::vector<char> left(lhs.begin(), lhs.end());
  const std::vector<char> right(rhs.begin(), rhs.end());
  return SI::natural::_compare(left.begin(), left.end(), right.begin(), right.end());
}

bool fast_less(const std::string& lhs, const std::string& rhs) {
  return SI::natural::_compare(lhs.begin(), lhs.end(), rhs.begin(), rhs.end());
}

std::string printable(const std::string& text) {
  std::string result;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x7f) {
      static const char digits[] = "0123456789abcdef";
      result += "\\x";
      result += digits[c >> 4];
      result += digits[c & 0xf];
    } else {
      result += static_cast<char>(c);
    }
  }
  return "\"" + result + "\"";
}

// Checks that fast_less is a strict weak ordering on the values. Irreflexivity directly; then the
// values are merge-sorted (safe for any relation) and split into runs of neighbours that are not
// less than each other. The relation is a strict weak ordering exactly when every pair inside a run
// is incomparable and every pair across runs is ordered like the runs; this covers asymmetry,
// transitivity and transitivity of incomparability without looking at every triple.
void expect_strict_weak_ordering(std::vector<std::string> values) {
  for (const auto& value : values) {
    ASSERT_FALSE(fast_less(value, value)) << printable(value);
  }
  std::stable_sort(values.begin(), values.end(), fast_less);
  std::vector<std::size_t> run(values.size(), 0);
  for (std::size_t i = 1; i < values.size(); ++i) {
    run[i] = run[i - 1] + (fast_less(values[i - 1], values[i]) ? 1 : 0);
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    for (std::size_t j = i + 1; j < values.size(); ++j) {
      const bool forward = fast_less(values[i], values[j]);
      const bool backward = fast_less(values[j], values[i]);
      ASSERT_FALSE(backward) << printable(values[j]) << " < " << printable(values[i]) << " after sorting";
      ASSERT_EQ(forward, run[i] < run[j]) << printable(values[i]) << " vs " << printable(values[j]);
    }
  }
}

} // namespace

TEST(natural_order, compares_like_people_read) {
  enum class order { less, greater, equivalent };
  const struct {
    std::string lhs;
    std::string rhs;
    order expected;
  } cases[] = {
      {"a2", "a10", order::less},
      {"file9.txt", "file10.txt", order::less},
      {"x1.25", "x1.5", order::less},
      {"1.10", "1.9", order::less},
      {"x.5", "x.50", order::equivalent},
      {"x.5", "x.51", order::less},
      {"x.05", "x.5", order::less},
      {"007", "7", order::equivalent},
      {"0", "00", order::equivalent},
      {"a1b2", "a01b10", order::less},
      {"a  b", "a b", order::equivalent},
      {" a", "   a", order::equivalent},
      {"A", "a", order::equivalent},
      {"Hello World", "hello world", order::equivalent},
      {"", "a", order::less},
      {"", " ", order::less},
      {"", "", order::equivalent},
      {"ab", "abc", order::less},
      {"-3", "-5", order::less},
      {"\t", " ", order::less},
      {"\x80", "a", order::less},
      {"\xC3\xA9", "e", order::less},
      {"a  ", "A   ", order::equivalent}, // both end in a blank run after equal text
      {"a ", "a  ", order::less},
      {"a", "a ", order::less},
      {"_", "a", order::less},
      {"Z", "_", order::greater}, // letters compare in lower case
      {std::string("a\0", 2), "a", order::greater},
      {std::string("a \0", 3), "a  ", order::greater},
      {"a \x80", "a  ", order::less},
      {"f2", "f10", order::less},
      {"1", "a", order::less},
      {"a1", "a.", order::greater},
  };
  for (const auto& c : cases) {
    const bool forward = less(c.lhs, c.rhs);
    const bool backward = less(c.rhs, c.lhs);
    EXPECT_EQ(forward, c.expected == order::less) << printable(c.lhs) << " < " << printable(c.rhs);
    EXPECT_EQ(backward, c.expected == order::greater) << printable(c.rhs) << " < " << printable(c.lhs);
  }
}

TEST(natural_order, never_reads_past_a_range) {
  // The byte after each range would change the result if it were read.
  const std::string buffer = "a19 x";
  const std::string a1 = "a1";
  EXPECT_FALSE(SI::natural::_compare(buffer.begin(), buffer.begin() + 2, a1.begin(), a1.end()));
  EXPECT_FALSE(SI::natural::_compare(a1.begin(), a1.end(), buffer.begin(), buffer.begin() + 2));
  const std::string blank = "a ";
  EXPECT_FALSE(SI::natural::_compare(buffer.begin() + 3, buffer.begin() + 4, blank.begin() + 1, blank.end()));
}

TEST(natural_order, is_a_strict_weak_ordering) {
  // Every string up to three characters over an alphabet that reaches each rule: digits and
  // zeros, the fraction point, blanks and tabs, case, a zero byte and a high byte.
  const std::string alphabet("0 1.aA\t\x80\0-", 10);
  std::vector<std::string> exhaustive{""};
  for (std::size_t begin = 0, length = 0; length < 3; ++length) {
    const std::size_t end = exhaustive.size();
    for (std::size_t i = begin; i < end; ++i) {
      for (char c : alphabet) {
        exhaustive.push_back(exhaustive[i] + c);
      }
    }
    begin = end;
  }
  expect_strict_weak_ordering(exhaustive);

  // Longer strings built from runs, so that numbers, fractions and blank runs meet at every offset.
  std::mt19937 random(20240102);
  const std::vector<std::string> pieces = {"0",     "00", "1",  "9", "10", "007", ".", ".5",   ".50",
                                           " ",     "  ", "\t", "a", "A",  "b",   "-", "\x80", std::string(1, '\0'),
                                           "x1.25", "Z"};
  std::vector<std::string> generated;
  for (int i = 0; i < 1500; ++i) {
    std::string text;
    const auto count = std::uniform_int_distribution<int>(0, 6)(random);
    for (int j = 0; j < count; ++j) {
      text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    }
    generated.push_back(text);
  }
  expect_strict_weak_ordering(generated);

  std::sort(generated.begin(), generated.end(), fast_less);
  EXPECT_TRUE(std::is_sorted(generated.begin(), generated.end(), fast_less));
}
