#pragma once

#include "hbd/device_identifiers.hpp"
#include "libhbd.h"

namespace libhbd_cpp {

// The model's identifiers for the C structure; a null address is the empty one, as in an entry
// read without an address.
hbd::device_identifiers make_device_identifiers(const libhbd_device_identifiers& device_identifiers);

} // namespace libhbd_cpp
