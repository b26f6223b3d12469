#pragma once

namespace grellan {

// The application's updater. No update framework exists on this platform; the settings' update
// controls come with the screens that show them.
class Updater final {
public:
  Updater() = default;
};

} // namespace grellan
