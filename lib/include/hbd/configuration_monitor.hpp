#pragma once

#include "hbd/constants.hpp"
#include "hbd/core_configuration/core_configuration.hpp"
#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/osx/file_monitor.hpp"

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

namespace hbd {

// Loads the backend configuration file, reloads it when another process changes the user or the
// system configuration file, and announces each new configuration on the shared dispatcher: once
// at start whatever the files hold, then only a loaded configuration that differs from the last.
class configuration_monitor final : public zunto::dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy,
                   void(std::weak_ptr<core_configuration::core_configuration> weak_core_configuration)>
      core_configuration_updated;

  configuration_monitor(const std::string& user_core_configuration_file_path, uid_t expected_user,
                        const std::string& system_core_configuration_file_path =
                            constants::get_system_core_configuration_file_path().string());
  // Stops watching and detaches; no signal is emitted after it returns.
  ~configuration_monitor() override;

  // Starts watching; both files are reported once at once, so the first configuration follows.
  void async_start();

  // This process saved `saved_text` (a configuration's to_text()) to the user configuration file:
  // from then on a file is a change when it differs from that, even one that brings back what was
  // announced last. Before the first announcement it changes nothing.
  void async_note_saved(std::string saved_text);

private:
  void file_changed(const std::string& changed_file_path);

  std::string user_core_configuration_file_path_;
  std::string system_core_configuration_file_path_;
  uid_t expected_user_;
  std::unique_ptr<zunto::osx::file_monitor> file_monitor_;
  // What a loaded file is compared with: the to_text() of the last configuration announced, as it
  // was before anyone could edit it, or what this process saved since. The receivers edit their
  // objects in place on their own threads, so none is ever read here. Empty before the first
  // announcement. Dispatcher thread only.
  std::optional<std::string> core_configuration_text_;
};

} // namespace hbd
