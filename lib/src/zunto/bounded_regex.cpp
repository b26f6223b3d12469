#include "zunto/bounded_regex.hpp"

#ifndef __GLIBCXX__
#error "bounded_regex needs the polynomial matcher of the GNU C++ library"
#endif

namespace zunto {

namespace {

// The breadth-first matcher runs in polynomial time and does not recurse per character.
constexpr auto polynomial = std::regex::ECMAScript | std::regex_constants::__polynomial;

std::regex compile(const std::string& pattern) {
  if (pattern.size() > bounded_regex::max_pattern_size) {
    throw bounded_regex::pattern_too_long();
  }
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
  return std::regex("(?:.|\\n|\\r)*(?:" + pattern + ")", polynomial);
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
