#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/osx/frontmost_application_monitor/application.hpp"

#include <memory>

namespace zunto::osx::frontmost_application_monitor {

// Reports every activation of an application, as the workspace bridge delivers it, on the
// dispatcher thread.
class monitor final : public dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<application> application)>
      frontmost_application_changed;

  explicit monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher);
  // Unregisters from the bridge; no signal is emitted after it returns.
  ~monitor() override;

  // Registers with the bridge, which reports the current frontmost application at once.
  void async_start();

private:
  static void static_cpp_callback(const char* bundle_identifier, const char* file_path, void* context);
  void cpp_callback(const char* bundle_identifier, const char* file_path);
};

} // namespace zunto::osx::frontmost_application_monitor
