#pragma once

#include <iterator>

// Natural-order comparison of character ranges: digit runs compare as numbers (as decimal
// fractions after a "."), ASCII letters ignore case, and runs of blanks count as one blank.
namespace SI::natural {

namespace detail {

template <typename Char>
constexpr signed char to_signed(Char c) {
  return static_cast<signed char>(c);
}

template <typename Char>
constexpr bool is_digit(Char c) {
  return c >= '0' && c <= '9';
}

template <typename Char>
constexpr signed char lower(Char c) {
  const auto value = to_signed(c);
  return value >= 'A' && value <= 'Z' ? static_cast<signed char>(value - 'A' + 'a') : value;
}

namespace compare_number {

// Digit runs as whole numbers: leading zeros do not count. Returns <0, 0 or >0.
template <typename LeftIterator, typename RightIterator>
int non_fractional(LeftIterator lhs_begin, LeftIterator lhs_end, RightIterator rhs_begin, RightIterator rhs_end) {
  while (lhs_begin != lhs_end && *lhs_begin == '0') {
    ++lhs_begin;
  }
  while (rhs_begin != rhs_end && *rhs_begin == '0') {
    ++rhs_begin;
  }
  const auto lhs_length = std::distance(lhs_begin, lhs_end);
  const auto rhs_length = std::distance(rhs_begin, rhs_end);
  if (lhs_length != rhs_length) {
    return lhs_length < rhs_length ? -1 : 1;
  }
  for (; lhs_begin != lhs_end; ++lhs_begin, ++rhs_begin) {
    if (*lhs_begin != *rhs_begin) {
      return *lhs_begin < *rhs_begin ? -1 : 1;
    }
  }
  return 0;
}

// Digit runs after a ".": compared as decimal fractions, so trailing zeros do not count.
template <typename LeftIterator, typename RightIterator>
int fractional(LeftIterator lhs_begin, LeftIterator lhs_end, RightIterator rhs_begin, RightIterator rhs_end) {
  for (; lhs_begin != lhs_end && rhs_begin != rhs_end; ++lhs_begin, ++rhs_begin) {
    if (*lhs_begin != *rhs_begin) {
      return *lhs_begin < *rhs_begin ? -1 : 1;
    }
  }
  while (lhs_begin != lhs_end && *lhs_begin == '0') {
    ++lhs_begin;
  }
  while (rhs_begin != rhs_end && *rhs_begin == '0') {
    ++rhs_begin;
  }
  if (lhs_begin != lhs_end) {
    return 1;
  }
  if (rhs_begin != rhs_end) {
    return -1;
  }
  return 0;
}

template <typename LeftIterator, typename RightIterator>
int dispatch(bool is_fractional, LeftIterator lhs_begin, LeftIterator lhs_end, RightIterator rhs_begin,
             RightIterator rhs_end) {
  return is_fractional ? fractional(lhs_begin, lhs_end, rhs_begin, rhs_end)
                       : non_fractional(lhs_begin, lhs_end, rhs_begin, rhs_end);
}

} // namespace compare_number

template <typename Iterator>
Iterator digit_run_end(Iterator it, Iterator end) {
  while (it != end && is_digit(*it)) {
    ++it;
  }
  return it;
}

enum class step_result { less, not_less, next };

// One step over a character pair (or a pair of digit runs); advances both positions on a tie.
template <typename LeftIterator, typename RightIterator>
step_result comp_over_iterator(LeftIterator lhs_begin, LeftIterator& lhs, LeftIterator lhs_end, RightIterator& rhs,
                               RightIterator rhs_end) {
  const signed char left = lhs == lhs_end ? 0 : to_signed(*lhs);
  const signed char right = rhs == rhs_end ? 0 : to_signed(*rhs);

  if (is_digit(left) && is_digit(right)) {
    const bool is_fractional = lhs != lhs_begin && *std::prev(lhs) == '.';
    const auto lhs_run_end = digit_run_end(lhs, lhs_end);
    const auto rhs_run_end = digit_run_end(rhs, rhs_end);
    const int result = compare_number::dispatch(is_fractional, lhs, lhs_run_end, rhs, rhs_run_end);
    if (result != 0) {
      return result < 0 ? step_result::less : step_result::not_less;
    }
    lhs = lhs_run_end;
    rhs = rhs_run_end;
    return step_result::next;
  }

  const signed char left_lower = lower(left);
  const signed char right_lower = lower(right);
  if (left_lower != right_lower) {
    return left_lower < right_lower ? step_result::less : step_result::not_less;
  }
  if (lhs == lhs_end) {
    return rhs != rhs_end ? step_result::less : step_result::not_less;
  }
  if (rhs == rhs_end) {
    return step_result::not_less;
  }
  ++lhs;
  ++rhs;
  return step_result::next;
}

} // namespace detail

// True when [lhs_begin, lhs_end) sorts strictly before [rhs_begin, rhs_end). Never reads outside
// either range.
template <typename LeftIterator, typename RightIterator>
bool _compare(const LeftIterator& lhs_begin, const LeftIterator& lhs_end, const RightIterator& rhs_begin,
              const RightIterator& rhs_end) {
  if (lhs_begin == lhs_end) {
    return rhs_begin != rhs_end;
  }
  auto lhs = lhs_begin;
  auto rhs = rhs_begin;
  bool lhs_blank = false;
  bool rhs_blank = false;
  for (;;) {
    if (rhs == rhs_end) {
      return false;
    }
    if (lhs_blank) {
      while (lhs != lhs_end && *lhs == ' ') {
        ++lhs;
      }
    }
    if (rhs_blank) {
      while (rhs != rhs_end && *rhs == ' ') {
        ++rhs;
      }
    }
    lhs_blank = lhs != lhs_end && *lhs == ' ';
    rhs_blank = rhs != rhs_end && *rhs == ' ';

    switch (detail::comp_over_iterator(lhs_begin, lhs, lhs_end, rhs, rhs_end)) {
      case detail::step_result::less:
        return true;
      case detail::step_result::not_less:
        return false;
      case detail::step_result::next:
        break;
    }
    if (lhs == lhs_end) {
      return rhs != rhs_end;
    }
  }
}

} // namespace SI::natural
