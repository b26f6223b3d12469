#include "system_preferences_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace {

// The identifiers under which the backend's virtual keyboard has its keyboard types.
constexpr zunto::hid::vendor_id::value_t virtual_hid_keyboard_vendor_id{0x16C0};
constexpr zunto::hid::product_id::value_t virtual_hid_keyboard_product_id{0x27DB};

constexpr std::chrono::milliseconds poll_interval(3000);

constexpr std::size_t keyboard_types_size = std::size(libhbd_system_preferences_properties{}.keyboard_types);

} // namespace

libhbd_system_preferences_monitor::libhbd_system_preferences_monitor(
    libhbd_system_preferences_monitor_callback callback, void* context) {
  hbd::logger::get_logger()->info("libhbd_system_preferences_monitor");

  monitor_ = std::make_unique<zunto::osx::system_preferences_monitor>(
      zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher());
  // The slot holds copies only: this object may be destroyed from inside the callback.
  monitor_->system_preferences_changed.connect(
      [callback, context](std::shared_ptr<const zunto::osx::system_preferences::properties> properties) {
        if (callback == nullptr || !properties) {
          return;
        }
        libhbd_system_preferences_properties p{};
        p.use_fkeys_as_standard_function_keys = properties->get_use_fkeys_as_standard_function_keys();
        const auto& keyboard_types = properties->get_keyboard_types();
        for (std::size_t i = 0; i < keyboard_types_size; ++i) {
          const zunto::osx::system_preferences::keyboard_type_key key{
              virtual_hid_keyboard_vendor_id, virtual_hid_keyboard_product_id, zunto::hid::country_code::value_t{i}};
          auto it = keyboard_types.find(key);
          p.keyboard_types[i] = it == keyboard_types.end() ? -1 : static_cast<std::int32_t>(it->second);
        }
        callback(&p, context);
      });
  monitor_->async_start(poll_interval);
}

libhbd_system_preferences_monitor::~libhbd_system_preferences_monitor() {
  hbd::logger::get_logger()->info("~libhbd_system_preferences_monitor");
  monitor_ = nullptr;
}

void libhbd_enable_system_preferences_monitor(libhbd_system_preferences_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_system_preferences_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::system_preferences_monitor,
                          [&] { return std::make_shared<libhbd_system_preferences_monitor>(callback, context); });
  });
}

void libhbd_disable_system_preferences_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_system_preferences_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::system_preferences_monitor); });
}

size_t libhbd_system_preferences_properties_get_keyboard_types_size(void) { return keyboard_types_size; }
