#include "zunto/osx/iokit_hid_manager.hpp"

#include "platform/cf/number.hpp"

namespace zunto::osx {
namespace {

void set_number(platform::iokit::matching_ref matching, std::string_view key, std::int32_t value) {
  if (auto number = platform::cf::number_create_int64(value)) {
    platform::iokit::matching_set_value(matching, key, number);
    platform::cf::release(number);
  }
}

} // namespace

iokit_hid_manager::iokit_hid_manager(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher,
                                     std::shared_ptr<cf::run_loop_thread> run_loop_thread,
                                     std::vector<matching_dictionary> matching_dictionaries,
                                     std::chrono::milliseconds device_matched_delay)
    : dispatcher_client(std::move(weak_dispatcher)),
      run_loop_thread_(std::move(run_loop_thread)),
      matching_dictionaries_(std::move(matching_dictionaries)),
      device_matched_delay_(device_matched_delay) {}

iokit_hid_manager::~iokit_hid_manager() {
  detach_from_dispatcher([this] { stop(); });
  // Not attached (the dispatcher is gone): nothing else runs this object now.
  stop();
}

iokit_hid_manager::matching_dictionary iokit_hid_manager::make_matching_dictionary(
    zunto::hid::usage_page::value_t usage_page, zunto::hid::usage::value_t usage) {
  matching_dictionary result;
  if (auto matching = platform::iokit::service_matching("IOHIDDevice")) {
    set_number(matching, "DeviceUsagePage", static_cast<std::int32_t>(usage_page));
    set_number(matching, "DeviceUsage", static_cast<std::int32_t>(usage));
    result.reset(matching);
    platform::cf::release(matching);
  }
  return result;
}

void iokit_hid_manager::async_start() {
  enqueue_to_dispatcher([this] { start(); }, dispatcher::time_point(1));
}

void iokit_hid_manager::start() {
  if (!service_monitors_.empty() || matching_dictionaries_.empty()) {
    return;
  }
  for (const auto& matching : matching_dictionaries_) {
    if (!matching) {
      continue;
    }
    auto monitor = std::make_shared<iokit_service_monitor>(weak_dispatcher_, run_loop_thread_, matching.get());
    // The monitors go before this object's members, so their slots may use them.
    monitor->service_matched.connect([this](iokit_registry_entry_id::value_t id, const iokit_registry_entry& service) {
      on_service_matched(id, service);
    });
    monitor->service_terminated.connect([this](iokit_registry_entry_id::value_t id) { on_service_terminated(id); });
    monitor->error_occurred.connect([this](const std::string& message, kern_return kr) {
      enqueue_to_dispatcher([this, message, kr] { error_occurred(message, kr); }, dispatcher::time_point(1));
    });
    monitor->async_start();
    service_monitors_.push_back(std::move(monitor));
  }
}

void iokit_hid_manager::stop() {
  service_monitors_.clear();
  devices_.clear();
  announced_devices_.clear();
}

void iokit_hid_manager::on_service_matched(iokit_registry_entry_id::value_t registry_entry_id,
                                           const iokit_registry_entry& service) {
  if (devices_.contains(registry_entry_id)) {
    return;
  }
  auto created = platform::iokit::hid_device_create(service.get());
  if (created == nullptr) {
    return;
  }
  cf::cf_ptr<platform::iokit::hid_device_ref> device(created);
  platform::cf::release(created);
  devices_.emplace(registry_entry_id, device);

  enqueue_to_dispatcher(
      [this, registry_entry_id] {
        auto it = devices_.find(registry_entry_id);
        if (it == devices_.end()) {
          return;
        }
        enqueue_to_dispatcher(
            [this, registry_entry_id, device = it->second] { device_matched(registry_entry_id, device); },
            dispatcher::time_point(1));
        announced_devices_.insert(registry_entry_id);
      },
      when_now() + device_matched_delay_);
}

void iokit_hid_manager::on_service_terminated(iokit_registry_entry_id::value_t registry_entry_id) {
  devices_.erase(registry_entry_id);
  if (announced_devices_.erase(registry_entry_id) > 0) {
    enqueue_to_dispatcher([this, registry_entry_id] { device_terminated(registry_entry_id); },
                          dispatcher::time_point(1));
  }
}

} // namespace zunto::osx
