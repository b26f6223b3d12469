#pragma once

#include "platform/iokit/hid_value.hpp"
#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"

#include <cstdint>
#include <optional>

namespace zunto::osx {

// What one reported HID value says. Built from a null value, everything is zero or empty; a value
// without an element has no usage and no range.
class iokit_hid_value final {
public:
  iokit_hid_value() = default;
  explicit iokit_hid_value(platform::iokit::hid_value_ref value);

  std::uint64_t get_time_stamp() const { return time_stamp_; }
  std::int64_t get_integer_value() const { return integer_value_; }
  const std::optional<zunto::hid::usage_page::value_t>& get_usage_page() const { return usage_page_; }
  const std::optional<zunto::hid::usage::value_t>& get_usage() const { return usage_; }
  const std::optional<std::int64_t>& get_logical_max() const { return logical_max_; }
  const std::optional<std::int64_t>& get_logical_min() const { return logical_min_; }

private:
  std::uint64_t time_stamp_ = 0;
  std::int64_t integer_value_ = 0;
  std::optional<zunto::hid::usage_page::value_t> usage_page_;
  std::optional<zunto::hid::usage::value_t> usage_;
  std::optional<std::int64_t> logical_max_;
  std::optional<std::int64_t> logical_min_;
};

} // namespace zunto::osx
