#pragma once

#include <string>

namespace hbd_test {

// Makes an application of a fresh name frontmost and returns once a callback that stays
// registered with the frontmost-application bridge for the whole process has had its report. The
// bridge works through one queue, so by then every registration and unregistration asked for
// before has taken effect, and a callback unregistered before is never called again (its context
// may go). Returns the application's bundle identifier.
std::string activate_and_wait_for_bridge();

} // namespace hbd_test
