#pragma once

#include <cstddef>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zunto {

// An ECMAScript regular expression from a rule, searched for anywhere in a text. The standard
// engine backtracks: a long text can overflow the stack and some patterns take exponential time.
// So every pattern runs on the engine's polynomial matcher, in one pass over a text of bounded
// size; back-references, which that matcher cannot run and which alone can make a search
// exponential, are refused when the pattern is read.
class bounded_regex final {
public:
  static constexpr std::size_t max_pattern_size = 4096;
  static constexpr std::size_t max_subject_size = 1024;

  // Thrown for a pattern longer than max_pattern_size.
  class pattern_too_long : public std::length_error {
  public:
    pattern_too_long();
  };

  // Thrown for a pattern that holds a back-reference.
  class back_reference : public std::invalid_argument {
  public:
    back_reference();
  };

  // Throws std::regex_error when the pattern does not compile, pattern_too_long and back_reference.
  explicit bounded_regex(const std::string& pattern);

  // False for a text longer than max_subject_size.
  bool search(std::string_view text) const;

private:
  std::regex regex_;
};

} // namespace zunto
