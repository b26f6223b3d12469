#include "support/bridge_fence.hpp"

#include "support/event_log.hpp"

#include "platform/workspace/workspace.hpp"
#include "zunto/osx/frontmost_application_monitor/bridge.hpp"

#include <gtest/gtest.h>

#include <atomic>

namespace hbd_test {

namespace {

void record(const char* bundle_identifier, const char*, void* context) {
  static_cast<event_log*>(context)->push(bundle_identifier);
}

event_log& fence() {
  // Never destroyed: the bridge may call it until the process ends.
  static auto* const log = [] {
    auto* l = new event_log();
    zunto_osx_frontmost_application_monitor_register(record, l);
    return l;
  }();
  return *log;
}

} // namespace

std::string activate_and_wait_for_bridge() {
  static std::atomic<int> counter = 0;
  const std::string bundle_identifier = "org.example.fence." + std::to_string(++counter);
  auto& log = fence();
  platform::workspace::activate({bundle_identifier, "/fence"});
  EXPECT_TRUE(log.wait_for(bundle_identifier)) << bundle_identifier;
  return bundle_identifier;
}

} // namespace hbd_test
