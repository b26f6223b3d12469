#pragma once

#include <chrono>
#include <cstddef>

namespace hbd_test {

// Entries in /proc/self/task: the process's threads, those still finishing their exit included.
std::size_t thread_count();

// The thread count once it is down to `expected`, or the last reading when it is still higher after
// `limit`. A thread that has been joined stays listed for a moment while it finishes exiting, and a
// detached one returns a little after whoever waited for its last work; neither is left behind, but
// a thread that never ends keeps the count up.
std::size_t thread_count_down_to(std::size_t expected, std::chrono::milliseconds limit = std::chrono::seconds(5));

// The process's open descriptors, the one that reads /proc/self/fd included.
std::size_t descriptor_count();

} // namespace hbd_test
