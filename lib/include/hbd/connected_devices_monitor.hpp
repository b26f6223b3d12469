#pragma once

#include "hbd/connected_devices/connected_devices.hpp"
#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <memory>
#include <mutex>
#include <string>

namespace hbd {

// Reads the devices file at start and whenever another process changed it, and publishes each
// list read, on the shared dispatcher. A file that does not read as a whole never replaces a list
// already published.
class connected_devices_monitor final : private zunto::dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy,
                   void(std::weak_ptr<const connected_devices::connected_devices> weak_connected_devices)>
      connected_devices_updated;

  explicit connected_devices_monitor(const std::string& devices_json_file_path);
  // Stops watching and detaches; no signal is emitted after it returns.
  ~connected_devices_monitor() override;

  void async_start();

  // The last list published; null before the first.
  std::shared_ptr<const connected_devices::connected_devices> get_connected_devices() const;

private:
  void file_changed(const std::string& changed_file_path);

  std::unique_ptr<zunto::osx::file_monitor> file_monitor_;
  std::shared_ptr<const connected_devices::connected_devices> connected_devices_;
  mutable std::mutex connected_devices_mutex_;
};

} // namespace hbd
