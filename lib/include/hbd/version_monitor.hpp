#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hbd {

// Watches the backend's version file and announces, on the shared dispatcher, each change of its
// bytes by another process, with the trimmed text. A missing file is never announced.
class version_monitor final : public zunto::dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void(const std::string& version)> version_changed;

  // Reads the file as it is now: that content is not announced.
  explicit version_monitor(const std::string& version_file_path);
  // Stops watching and detaches; no signal is emitted after it returns.
  ~version_monitor() override;

  // Starts watching; returns at once.
  void async_start();

private:
  void file_changed(const std::shared_ptr<std::vector<std::uint8_t>>& changed_file_body);

  std::string version_file_path_;
  // Only touched on the dispatcher thread once watching has started.
  std::shared_ptr<std::vector<std::uint8_t>> version_file_body_;
  std::unique_ptr<zunto::osx::file_monitor> file_monitor_;
};

} // namespace hbd
