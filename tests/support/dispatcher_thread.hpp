#pragma once

#include <thread>

namespace hbd_test {

// The worker thread of the shared dispatcher, where the library's callbacks run; a default id
// when there is no shared dispatcher.
std::thread::id shared_dispatcher_thread_id();

} // namespace hbd_test
