#include "support/process_counts.hpp"

#include <filesystem>
#include <iterator>
#include <thread>

namespace hbd_test {

namespace {

std::size_t count_entries(const char* directory) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator()));
}

} // namespace

std::size_t thread_count() { return count_entries("/proc/self/task"); }

std::size_t thread_count_down_to(std::size_t expected, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  auto count = thread_count();
  while (count > expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    count = thread_count();
  }
  return count;
}

std::size_t descriptor_count() { return count_entries("/proc/self/fd"); }

} // namespace hbd_test
