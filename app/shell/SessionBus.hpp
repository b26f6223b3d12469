#pragma once

#include <chrono>

namespace grellan {

// True when something takes a connection at the session bus's address but does not answer within
// the deadline: a stopped bus daemon, say. The bus library would wait for it without a limit, in
// every connection of this process. False when it answers, or when there is no bus to wait for.
bool sessionBusIsFrozen(std::chrono::milliseconds deadline);

// Points this process's session-bus address where no transport goes, so that every user of the bus
// in it (Qt's theme and tray icon, the accessibility and sound libraries) fails at once instead of
// waiting on a frozen bus.
void turnOffSessionBus();

} // namespace grellan
