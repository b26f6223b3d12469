#include "platform/process_info/process_info.hpp"

#include <unistd.h>
#include <uuid/uuid.h>

#include <atomic>
#include <mutex>
#include <utility>

namespace platform::process_info {
namespace {

std::atomic<std::uint64_t> disable_calls{0};
std::atomic<std::uint64_t> enable_calls{0};

std::mutex observer_mutex;
std::function<void(bool)> observer;

void notify(bool disabled) {
  std::function<void(bool)> current;
  {
    std::lock_guard lock(observer_mutex);
    current = observer;
  }
  if (current) {
    current(disabled);
  }
}

} // namespace

std::string globally_unique_string() {
  uuid_t value;
  uuid_generate(value);
  char text[37];
  uuid_unparse_upper(value, text);
  return text;
}

int process_identifier() { return static_cast<int>(getpid()); }

void disable_sudden_termination() {
  disable_calls.fetch_add(1, std::memory_order_relaxed);
  notify(true);
}

void enable_sudden_termination() {
  enable_calls.fetch_add(1, std::memory_order_relaxed);
  notify(false);
}

void set_sudden_termination_observer(std::function<void(bool disabled)> value) {
  std::lock_guard lock(observer_mutex);
  observer = std::move(value);
}

std::uint64_t sudden_termination_disable_calls() { return disable_calls.load(std::memory_order_relaxed); }

std::uint64_t sudden_termination_enable_calls() { return enable_calls.load(std::memory_order_relaxed); }

} // namespace platform::process_info
