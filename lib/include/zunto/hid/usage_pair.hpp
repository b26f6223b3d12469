#pragma once

#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"

namespace zunto::hid {

// A usage page with a usage on it: what one key, button or device kind is.
class usage_pair final {
public:
  constexpr usage_pair() = default;
  constexpr usage_pair(usage_page::value_t usage_page, usage::value_t usage) : usage_page_(usage_page), usage_(usage) {}

  constexpr usage_page::value_t get_usage_page() const { return usage_page_; }
  constexpr usage::value_t get_usage() const { return usage_; }

  constexpr bool operator==(const usage_pair&) const = default;

private:
  usage_page::value_t usage_page_{0};
  usage::value_t usage_{0};
};

} // namespace zunto::hid
