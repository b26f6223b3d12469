#include "zunto/bounded_regex.hpp"

#ifndef __GLIBCXX__
#error "bounded_regex needs the polynomial matcher of the GNU C++ library"
#endif

namespace zunto {

namespace {

// The breadth-first matcher runs in polynomial time and does not recurse per character.
constexpr auto polynomial = std::regex::ECMAScript | std::regex_constants::__polynomial;

// The library reads the number of a back-reference or of a repeat count into a long, without a
// check: twenty digits overflow it. A count beyond nine digits could never be built anyway.
void refuse_overlong_numbers(const std::string& pattern) {
  constexpr std::size_t longest_number = 9;
  const auto digits_at = [&](std::size_t start) {
    std::size_t end = start;
    while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9') {
      ++end;
    }
    return end - start;
  };
  bool in_braces = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '\\') {
      // "\0" is a NUL; a digit from 1 on starts a back-reference, refused in any case.
      if (i + 1 < pattern.size() && pattern[i + 1] != '0' && digits_at(i + 1) > longest_number) {
        throw bounded_regex::back_reference();
      }
      ++i;
    } else if (c == '{' || (c == ',' && in_braces)) {
      in_braces = true;
      if (digits_at(i + 1) > longest_number) {
        throw std::regex_error(std::regex_constants::error_badbrace);
      }
    } else if (c == '}') {
      in_braces = false;
    }
  }
}

std::regex compile(const std::string& pattern) {
  if (pattern.size() > bounded_regex::max_pattern_size) {
    throw bounded_regex::pattern_too_long();
  }
  refuse_overlong_numbers(pattern);
  // The pattern on its own first: its errors are the ones reported, and the matcher refuses a
  // back-reference (and nothing else) as too complex.
  try {
    (void)std::regex(pattern, polynomial);
  } catch (const std::regex_error& e) {
    if (e.code() == std::regex_constants::error_complexity) {
      throw bounded_regex::back_reference();
    }
    throw;
  }
  // A search tries every start in turn, a pass over the text each; a leading run of any characters
  // lets one pass try them all. The group captures nothing, and "^" still holds only at the start.
  // (Alternatives rather than a bracket: a bracket costs twenty times as much to compile.)
  // Only whether it matches is asked: without submatches the matcher carries no copy of every
  // group's bounds along each path, which made a pattern of many groups take seconds.
  return std::regex("(?:.|\\n|\\r)*(?:" + pattern + ")", polynomial | std::regex::nosubs);
}

} // namespace

bounded_regex::pattern_too_long::pattern_too_long()
    : std::length_error("The regular expression is longer than " + std::to_string(max_pattern_size) + " bytes.") {}

bounded_regex::back_reference::back_reference()
    : std::invalid_argument("The regular expression holds a back-reference, which rules do not support.") {}

bounded_regex::bounded_regex(const std::string& pattern) : regex_(compile(pattern)) {}

bool bounded_regex::search(std::string_view text) const {
  if (text.size() > max_subject_size) {
    return false;
  }
  return std::regex_search(text.begin(), text.end(), regex_, std::regex_constants::match_continuous);
}

} // namespace zunto
