#include "entry_point.hpp"
#include "libhbd.h"
#include "platform/iokit/matching.hpp"
#include "zunto/cf/cf_ptr.hpp"

#include <string_view>

namespace {

bool service_exists(std::string_view entry_point, std::string_view name) {
  return libhbd::guard_entry_point(entry_point, false, [&] {
    zunto::cf::cf_ptr<platform::iokit::matching_ref> matching;
    if (auto created = platform::iokit::service_name_matching(name)) {
      matching.reset(created);
      platform::cf::release(created);
    }
    if (!matching) {
      return false;
    }
    auto service = platform::iokit::get_matching_service(matching.get());
    if (service == nullptr) {
      return false;
    }
    platform::cf::release(service);
    return true;
  });
}

} // namespace

bool libhbd_driver_running(void) {
  return service_exists("libhbd_driver_running", "org_zunto_Hobbard_DriverKit_VirtualHIDDeviceRoot");
}

bool libhbd_virtual_hid_keyboard_exists(void) {
  return service_exists("libhbd_virtual_hid_keyboard_exists", "org_zunto_Hobbard_DriverKit_VirtualHIDKeyboard");
}

bool libhbd_virtual_hid_pointing_exists(void) {
  return service_exists("libhbd_virtual_hid_pointing_exists", "org_zunto_Hobbard_DriverKit_VirtualHIDPointing");
}
