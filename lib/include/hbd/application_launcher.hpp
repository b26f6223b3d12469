#pragma once

namespace hbd {

class application_launcher final {
public:
  application_launcher() = delete;

  // true: end any running copy and open a new one as at login; false: show the helper's window.
  static void launch_multitouch_extension(bool start_at_login);
};

} // namespace hbd
