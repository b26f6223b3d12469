#pragma once

#include <chrono>
#include <functional>

namespace grellan_test {

// Runs the Qt event loop until `condition` holds; false when the deadline passed first.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = std::chrono::seconds(20));

} // namespace grellan_test
