#pragma once

#include <memory>
#include <mutex>
#include <utility>

// One member slot of the component manager. The member is held as a shared reference copied out
// under a small lock, so a thread that uses a member keeps it alive while another thread disables
// it; members are built and destroyed outside the lock.
template <typename T>
class libhbd_components_manager_slot final {
public:
  std::shared_ptr<T> get() const {
    std::lock_guard lock(mutex_);
    return member_;
  }

  // Puts `member` in and hands back what the slot held, for the caller to destroy after the lock.
  std::shared_ptr<T> exchange(std::shared_ptr<T> member) {
    std::lock_guard lock(mutex_);
    std::swap(member_, member);
    return member;
  }

  // As exchange, and starts the new member with `start` before letting go of the lock: nothing
  // finds it unstarted, and the caller keeps no reference, so a disable, even from inside one of
  // the member's own callbacks, ends it there and then.
  template <typename Start>
  std::shared_ptr<T> exchange_and_start(std::shared_ptr<T> member, Start&& start) {
    std::lock_guard lock(mutex_);
    std::swap(member_, member);
    if (member_) {
      std::forward<Start>(start)(*member_);
    }
    return member;
  }

  // Runs `function` on the member, if there is one, under the lock; for quick work only. Unlike
  // get(), it keeps no reference, so the member never outlives its disable because of it.
  template <typename Function>
  void with_member(Function&& function) const {
    std::lock_guard lock(mutex_);
    if (member_) {
      std::forward<Function>(function)(*member_);
    }
  }

private:
  mutable std::mutex mutex_;
  std::shared_ptr<T> member_;
};

class libhbd_complex_modifications_assets_manager;
class libhbd_configuration_monitor;
class libhbd_file_monitor;
class libhbd_version_monitor;
class libhbd_frontmost_application_monitor;
class libhbd_grabber_client;
class libhbd_log_monitor;
// Devices
class libhbd_system_preferences_monitor;
class libhbd_connected_devices_monitor;
class libhbd_hid_value_monitor;

// The owner of the C interface's optional members, one slot each; the slots are numbered as the
// members are listed. Members of families that this library does not offer yet have no slot.
class libhbd_components_manager final {
public:
  libhbd_components_manager() = default;
  // Empties the slots from the last to the first, each member stopping before the next goes.
  ~libhbd_components_manager();

  libhbd_components_manager(const libhbd_components_manager&) = delete;
  libhbd_components_manager& operator=(const libhbd_components_manager&) = delete;

  // 1
  libhbd_components_manager_slot<libhbd_version_monitor> version_monitor;
  // 2
  libhbd_components_manager_slot<libhbd_configuration_monitor> configuration_monitor;
  // 3
  libhbd_components_manager_slot<libhbd_complex_modifications_assets_manager> complex_modifications_assets_manager;
  // 6 to 10
  libhbd_components_manager_slot<libhbd_file_monitor> observer_state_json_file_monitor;
  libhbd_components_manager_slot<libhbd_file_monitor> grabber_state_json_file_monitor;
  libhbd_components_manager_slot<libhbd_file_monitor> device_details_json_file_monitor;
  libhbd_components_manager_slot<libhbd_file_monitor> manipulator_environment_json_file_monitor;
  libhbd_components_manager_slot<libhbd_file_monitor> notification_message_json_file_monitor;

  // Messaging and monitors of the session: 11, 12 and 14
  libhbd_components_manager_slot<libhbd_frontmost_application_monitor> frontmost_application_monitor;
  libhbd_components_manager_slot<libhbd_log_monitor> log_monitor;
  libhbd_components_manager_slot<libhbd_grabber_client> grabber_client;

  // Devices: 4, 5 and 13
  libhbd_components_manager_slot<libhbd_system_preferences_monitor> system_preferences_monitor;
  libhbd_components_manager_slot<libhbd_connected_devices_monitor> connected_devices_monitor;
  libhbd_components_manager_slot<libhbd_hid_value_monitor> hid_value_monitor;
};

namespace libhbd {

// The component manager for the length of one entry point; empty while none exists. While any use
// lives, libhbd_terminate waits before it destroys the manager, so a member is never built into a
// manager whose dispatcher is already gone.
class components_manager_use final {
public:
  components_manager_use();
  ~components_manager_use();

  components_manager_use(const components_manager_use&) = delete;
  components_manager_use& operator=(const components_manager_use&) = delete;

  explicit operator bool() const { return manager_ != nullptr; }
  libhbd_components_manager& operator*() const { return *manager_; }

private:
  std::shared_ptr<libhbd_components_manager> manager_;
};

// Builds a new member with `build` and puts it into the slot; the member it replaces is destroyed
// after the new one is in place. Nothing happens without a component manager; when `build` throws,
// the slot keeps what it held and the exception goes on to the caller.
template <typename T, typename Build>
void enable_member(libhbd_components_manager_slot<T> libhbd_components_manager::*slot, Build&& build) {
  components_manager_use use;
  if (!use) {
    return;
  }
  std::shared_ptr<T> member = std::forward<Build>(build)();
  auto previous = ((*use).*slot).exchange(std::move(member));
  previous.reset();
}

// Empties the slot and destroys the member it held. Nothing happens without a component manager.
template <typename T>
void disable_member(libhbd_components_manager_slot<T> libhbd_components_manager::*slot) {
  components_manager_use use;
  if (!use) {
    return;
  }
  auto previous = ((*use).*slot).exchange(nullptr);
  previous.reset();
}

} // namespace libhbd
