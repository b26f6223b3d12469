#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "platform/iokit/hid_device.hpp"
#include "platform/iokit/matching.hpp"
#include "zunto/cf/cf_ptr.hpp"
#include "zunto/cf/run_loop_thread.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/hid/usage.hpp"
#include "zunto/hid/usage_page.hpp"
#include "zunto/osx/iokit_registry_entry_id.hpp"
#include "zunto/osx/iokit_service_monitor.hpp"
#include "zunto/osx/kern_return.hpp"

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zunto::osx {

// Finds the HID devices that match any of its descriptions, makes a device object for each and
// announces it, after the device-matched delay, as matched; a device that goes away after its
// announcement is announced as terminated. Its state lives on the dispatcher thread.
class iokit_hid_manager final : public dispatcher::extra::dispatcher_client {
public:
  using matching_dictionary = cf::cf_ptr<platform::iokit::matching_ref>;

  nod::signal_type<nod::multithread_policy, void(iokit_registry_entry_id::value_t registry_entry_id,
                                                 cf::cf_ptr<platform::iokit::hid_device_ref> device)>
      device_matched;
  nod::signal_type<nod::multithread_policy, void(iokit_registry_entry_id::value_t registry_entry_id)> device_terminated;
  nod::signal_type<nod::multithread_policy, void(const std::string& message, kern_return kr)> error_occurred;

  iokit_hid_manager(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                    std::shared_ptr<cf::run_loop_thread> run_loop_thread,
                    std::vector<matching_dictionary> matching_dictionaries,
                    std::chrono::milliseconds device_matched_delay);
  // Detaches, stopping on the dispatcher thread.
  ~iokit_hid_manager() override;

  // HID services that list the pair; empty when no description can be made.
  static matching_dictionary make_matching_dictionary(zunto::hid::usage_page::value_t usage_page,
                                                      zunto::hid::usage::value_t usage);

  // Starts one service monitor per non-null description, once.
  void async_start();
  // Drops the service monitors and forgets every device without announcing anything.
  void stop();

private:
  void start();
  void on_service_matched(iokit_registry_entry_id::value_t registry_entry_id, const iokit_registry_entry& service);
  void on_service_terminated(iokit_registry_entry_id::value_t registry_entry_id);

  std::shared_ptr<cf::run_loop_thread> run_loop_thread_;
  std::vector<matching_dictionary> matching_dictionaries_;
  std::chrono::milliseconds device_matched_delay_;
  std::vector<std::shared_ptr<iokit_service_monitor>> service_monitors_;
  std::unordered_map<iokit_registry_entry_id::value_t, cf::cf_ptr<platform::iokit::hid_device_ref>> devices_;
  std::unordered_set<iokit_registry_entry_id::value_t> announced_devices_;
};

} // namespace zunto::osx
