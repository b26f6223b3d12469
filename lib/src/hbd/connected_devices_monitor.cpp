#include "hbd/connected_devices_monitor.hpp"

#include "hbd/logger.hpp"
#include "zunto/dispatcher/extra/shared_dispatcher.hpp"

#include <sys/stat.h>

#include <exception>

namespace hbd {

connected_devices_monitor::connected_devices_monitor(const std::string& devices_json_file_path)
    : dispatcher_client(zunto::dispatcher::extra::shared_dispatcher::get_shared_dispatcher()->get_dispatcher()) {
  file_monitor_ = std::make_unique<zunto::osx::file_monitor>(
      weak_dispatcher_, std::vector<std::string>{devices_json_file_path}, logger::get_logger());
  // The file monitor goes before this object's members, so the slot may use them.
  file_monitor_->file_changed.connect(
      [this](const std::string& changed_file_path, std::shared_ptr<std::vector<std::uint8_t>>) {
        try {
          file_changed(changed_file_path);
        } catch (const std::exception& e) {
          logger::get_logger()->error("connected_devices_monitor: {0}", e.what());
        }
      });
}

connected_devices_monitor::~connected_devices_monitor() {
  detach_from_dispatcher([this] { file_monitor_ = nullptr; });
  // Not attached (the dispatcher is gone): nothing else can run the file monitor now.
  file_monitor_ = nullptr;
}

void connected_devices_monitor::async_start() { file_monitor_->async_start(); }

std::shared_ptr<const connected_devices::connected_devices> connected_devices_monitor::get_connected_devices() const {
  std::lock_guard lock(connected_devices_mutex_);
  return connected_devices_;
}

void connected_devices_monitor::file_changed(const std::string& changed_file_path) {
  if (struct stat status{}; ::stat(changed_file_path.c_str(), &status) == 0) {
    logger::get_logger()->info("Load {0}...", changed_file_path);
  }

  auto new_connected_devices = std::make_shared<const connected_devices::connected_devices>(changed_file_path);

  // The first list is taken whatever it is; later, only a list that was read as a whole.
  if (get_connected_devices() && !new_connected_devices->is_loaded()) {
    return;
  }

  {
    std::lock_guard lock(connected_devices_mutex_);
    connected_devices_ = new_connected_devices;
  }

  logger::get_logger()->info("connected_devices are updated.");

  enqueue_to_dispatcher(
      [this, new_connected_devices] {
        std::weak_ptr<const connected_devices::connected_devices> weak = new_connected_devices;
        connected_devices_updated(weak);
      },
      zunto::dispatcher::time_point(1));
}

} // namespace hbd
