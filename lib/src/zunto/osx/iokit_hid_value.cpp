#include "zunto/osx/iokit_hid_value.hpp"

namespace zunto::osx {

iokit_hid_value::iokit_hid_value(platform::iokit::hid_value_ref value) {
  if (value == nullptr) {
    return;
  }
  time_stamp_ = platform::iokit::hid_value_get_time_stamp(value);
  integer_value_ = platform::iokit::hid_value_get_integer_value(value);
  if (auto element = platform::iokit::hid_value_get_element(value)) {
    // Usages are 32-bit fields; the page and usage keep their bits as signed numbers.
    usage_page_ = zunto::hid::usage_page::value_t{
        static_cast<std::int32_t>(platform::iokit::hid_element_get_usage_page(element))};
    usage_ = zunto::hid::usage::value_t{static_cast<std::int32_t>(platform::iokit::hid_element_get_usage(element))};
    logical_max_ = platform::iokit::hid_element_get_logical_max(element);
    logical_min_ = platform::iokit::hid_element_get_logical_min(element);
  }
}

} // namespace zunto::osx
