#pragma once

#include <functional>
#include <string>

namespace hbd_test {

// Calls `read` on a thread of its own and keeps the pointer it returns; runs `change` on the calling
// thread while that thread still lives; then gives what the kept pointer holds. For texts that
// the library promises each thread stay put until that thread's next call.
std::string text_read_before_change(const std::function<const char*()>& read, const std::function<void()>& change);

} // namespace hbd_test
