#include "connected_devices_monitor.hpp"

#include "components_manager.hpp"
#include "entry_point.hpp"
#include "hbd/constants.hpp"
#include "hbd/logger.hpp"

namespace {

using hbd::connected_devices::connected_devices;

const connected_devices* as_connected_devices(void* handle) { return static_cast<const connected_devices*>(handle); }

// The device at index, or null for a null handle or an index out of range.
const hbd::connected_devices::details::device* find_device(void* handle, size_t index) {
  const auto* list = as_connected_devices(handle);
  if (list == nullptr || index >= list->get_devices().size()) {
    return nullptr;
  }
  return &list->get_devices()[index];
}

template <typename Result, typename Read>
Result read_device(const char* entry_point, void* handle, size_t index, Result fallback, Read read) {
  return libhbd::guard_entry_point(entry_point, fallback, [&]() -> Result {
    const auto* device = find_device(handle, index);
    return device == nullptr ? fallback : read(*device);
  });
}

} // namespace

libhbd_connected_devices_monitor::libhbd_connected_devices_monitor(libhbd_connected_devices_monitor_callback callback,
                                                                   void* context) {
  hbd::logger::get_logger()->info("libhbd_connected_devices_monitor");

  monitor_ = std::make_unique<hbd::connected_devices_monitor>(hbd::constants::get_devices_json_file_path().string());
  // The slot holds copies only: this object may be destroyed from inside the callback.
  monitor_->connected_devices_updated.connect(
      [callback, context](std::weak_ptr<const connected_devices> weak_connected_devices) {
        auto list = weak_connected_devices.lock();
        if (list && callback != nullptr) {
          callback(new connected_devices(*list), context);
        }
      });
  monitor_->async_start();
}

libhbd_connected_devices_monitor::~libhbd_connected_devices_monitor() {
  hbd::logger::get_logger()->info("~libhbd_connected_devices_monitor");
  monitor_ = nullptr;
}

void libhbd_enable_connected_devices_monitor(libhbd_connected_devices_monitor_callback callback, void* context) {
  libhbd::guard_entry_point("libhbd_enable_connected_devices_monitor", [&] {
    libhbd::enable_member(&libhbd_components_manager::connected_devices_monitor,
                          [&] { return std::make_shared<libhbd_connected_devices_monitor>(callback, context); });
  });
}

void libhbd_disable_connected_devices_monitor(void) {
  libhbd::guard_entry_point("libhbd_disable_connected_devices_monitor",
                            [] { libhbd::disable_member(&libhbd_components_manager::connected_devices_monitor); });
}

void libhbd_connected_devices_terminate(void** connected_devices_handle) {
  if (connected_devices_handle != nullptr) {
    delete as_connected_devices(*connected_devices_handle);
    *connected_devices_handle = nullptr;
  }
}

bool libhbd_connected_devices_is_loaded(void* connected_devices_handle) {
  const auto* list = as_connected_devices(connected_devices_handle);
  return list != nullptr && list->is_loaded();
}

size_t libhbd_connected_devices_get_size(void* connected_devices_handle) {
  const auto* list = as_connected_devices(connected_devices_handle);
  return list == nullptr ? 0 : list->get_devices().size();
}

const char* libhbd_connected_devices_get_descriptions_manufacturer(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_descriptions_manufacturer", connected_devices_handle, index, "",
                     [](const auto& d) { return d.get_descriptions().get_manufacturer().c_str(); });
}

const char* libhbd_connected_devices_get_descriptions_product(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_descriptions_product", connected_devices_handle, index, "",
                     [](const auto& d) { return d.get_descriptions().get_product().c_str(); });
}

const char* libhbd_connected_devices_get_descriptions_transport(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_descriptions_transport", connected_devices_handle, index, "",
                     [](const auto& d) { return d.get_descriptions().get_transport().c_str(); });
}

uint64_t libhbd_connected_devices_get_vendor_id(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_vendor_id", connected_devices_handle, index, uint64_t{0},
                     [](const auto& d) { return static_cast<uint64_t>(d.get_identifiers().get_vendor_id()); });
}

uint64_t libhbd_connected_devices_get_product_id(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_product_id", connected_devices_handle, index, uint64_t{0},
                     [](const auto& d) { return static_cast<uint64_t>(d.get_identifiers().get_product_id()); });
}

bool libhbd_connected_devices_get_is_keyboard(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_keyboard", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_identifiers().get_is_keyboard(); });
}

bool libhbd_connected_devices_get_is_pointing_device(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_pointing_device", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_identifiers().get_is_pointing_device(); });
}

bool libhbd_connected_devices_get_is_game_pad(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_game_pad", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_identifiers().get_is_game_pad(); });
}

const char* libhbd_connected_devices_get_device_address(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_device_address", connected_devices_handle, index, "",
                     [](const auto& d) { return d.get_identifiers().get_device_address().c_str(); });
}

bool libhbd_connected_devices_get_is_built_in_keyboard(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_built_in_keyboard", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_is_built_in_keyboard(); });
}

bool libhbd_connected_devices_get_is_built_in_trackpad(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_built_in_trackpad", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_is_built_in_trackpad(); });
}

bool libhbd_connected_devices_get_is_built_in_touch_bar(void* connected_devices_handle, size_t index) {
  return read_device("libhbd_connected_devices_get_is_built_in_touch_bar", connected_devices_handle, index, false,
                     [](const auto& d) { return d.get_is_built_in_touch_bar(); });
}
