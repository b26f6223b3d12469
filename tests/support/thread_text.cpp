#include "support/thread_text.hpp"

#include <future>
#include <thread>

namespace hbd_test {

std::string text_read_before_change(const std::function<const char*()>& read, const std::function<void()>& change) {
  std::promise<void> was_read;
  std::promise<void> changed;
  std::string seen_later;
  std::thread reader([&] {
    const char* text = read();
    was_read.set_value();
    changed.get_future().wait();
    seen_later = text != nullptr ? text : "(null)";
  });
  was_read.get_future().wait();
  change();
  changed.set_value();
  reader.join();
  return seen_later;
}

} // namespace hbd_test
