#include "zunto/bounded_regex.hpp"

namespace zunto {

namespace {

std::regex compile(const std::string& pattern) {
  if (pattern.size() > bounded_regex::max_pattern_size) {
    throw bounded_regex::pattern_too_long();
  }
#ifdef __GLIBCXX__
  // The breadth-first matcher runs in polynomial time and does not recurse per character; it
  // refuses back-references, which then take the ordinary matcher over the bounded text.
  try {
    return std::regex(pattern, std::regex::ECMAScript | std::regex_constants::__polynomial);
  } catch (const std::regex_error& e) {
    if (e.code() != std::regex_constants::error_complexity) {
      throw;
    }
  }
#endif
  return std::regex(pattern, std::regex::ECMAScript);
}

} // namespace

bounded_regex::pattern_too_long::pattern_too_long()
    : std::length_error("The regular expression is longer than " + std::to_string(max_pattern_size) + " bytes.") {}

bounded_regex::bounded_regex(const std::string& pattern) : regex_(compile(pattern)) {}

bool bounded_regex::search(std::string_view text) const {
  if (text.size() > max_subject_size) {
    return false;
  }
  return std::regex_search(text.begin(), text.end(), regex_);
}

} // namespace zunto
