#include "zunto/osx/file_monitor/impl/file_monitors_manager.hpp"

#include <mutex>
#include <unordered_set>

namespace zunto::osx {
namespace {

struct living_monitors {
  std::mutex mutex;
  std::unordered_set<const void*> monitors;
};

living_monitors& get_living_monitors() {
  // Never destroyed: a stream callback may still ask while the process exits.
  static auto* instance = new living_monitors;
  return *instance;
}

} // namespace

void file_monitor::impl::file_monitors_manager::insert(const file_monitor* monitor) {
  auto& living = get_living_monitors();
  std::lock_guard lock(living.mutex);
  living.monitors.insert(monitor);
}

void file_monitor::impl::file_monitors_manager::erase(const file_monitor* monitor) {
  auto& living = get_living_monitors();
  std::lock_guard lock(living.mutex);
  living.monitors.erase(monitor);
}

bool file_monitor::impl::file_monitors_manager::alive(const void* monitor) {
  auto& living = get_living_monitors();
  std::lock_guard lock(living.mutex);
  return living.monitors.contains(monitor);
}

} // namespace zunto::osx
