#include "device_identifiers.hpp"

namespace libhbd_cpp {

hbd::device_identifiers make_device_identifiers(const libhbd_device_identifiers& device_identifiers) {
  return hbd::device_identifiers(zunto::hid::vendor_id::value_t{device_identifiers.vendor_id},
                                 zunto::hid::product_id::value_t{device_identifiers.product_id},
                                 device_identifiers.is_keyboard, device_identifiers.is_pointing_device,
                                 device_identifiers.is_game_pad,
                                 device_identifiers.device_address != nullptr ? device_identifiers.device_address : "");
}

} // namespace libhbd_cpp
