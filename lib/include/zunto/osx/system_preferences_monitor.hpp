#pragma once

#include "nod/multithread_policy.hpp"
#include "nod/signal_type.hpp"
#include "zunto/dispatcher/extra/dispatcher_client.hpp"
#include "zunto/dispatcher/extra/timer.hpp"
#include "zunto/osx/system_preferences/properties.hpp"

#include <chrono>
#include <memory>

namespace zunto::osx {

// Reads the system preferences on a timer, on the dispatcher thread, and signals the first reading
// and then each one that differs from the last.
class system_preferences_monitor final : public dispatcher::extra::dispatcher_client {
public:
  nod::signal_type<nod::multithread_policy, void(std::shared_ptr<const system_preferences::properties> properties)>
      system_preferences_changed;

  explicit system_preferences_monitor(std::weak_ptr<dispatcher::dispatcher> weak_dispatcher);
  // Stops polling and detaches; no signal is emitted after it returns.
  ~system_preferences_monitor() override;

  // Reads at once and then every interval.
  void async_start(std::chrono::milliseconds interval);

private:
  void poll();

  dispatcher::extra::timer timer_;
  std::shared_ptr<const system_preferences::properties> last_properties_;
};

} // namespace zunto::osx
