#include "hbd/run_loop_thread_utility.hpp"

#include "zunto/cf/run_loop_thread/extra/shared_run_loop_thread.hpp"

#include <mutex>

namespace hbd::run_loop_thread_utility {
namespace {

// Serialises managers made and destroyed on different threads.
std::mutex& manager_mutex() {
  static auto* const mutex = new std::mutex();
  return *mutex;
}

} // namespace

std::shared_ptr<zunto::cf::run_loop_thread>& get_power_management_run_loop_thread() {
  // Never freed, like the shared holder: process exit must not destroy a running thread.
  static auto* const thread = new std::shared_ptr<zunto::cf::run_loop_thread>();
  return *thread;
}

scoped_run_loop_thread_manager::scoped_run_loop_thread_manager() {
  std::lock_guard lock(manager_mutex());
  zunto::cf::run_loop_thread::extra::initialize_shared_run_loop_thread();
  auto& power_management = get_power_management_run_loop_thread();
  if (!power_management) {
    power_management = std::make_shared<zunto::cf::run_loop_thread>();
  }
}

scoped_run_loop_thread_manager::~scoped_run_loop_thread_manager() {
  std::lock_guard lock(manager_mutex());
  if (auto& power_management = get_power_management_run_loop_thread()) {
    power_management->terminate();
    power_management = nullptr;
  }
  zunto::cf::run_loop_thread::extra::terminate_shared_run_loop_thread();
}

} // namespace hbd::run_loop_thread_utility
