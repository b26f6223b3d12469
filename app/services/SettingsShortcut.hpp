#pragma once

#include <QKeySequence>

namespace grellan {

// The key that opens settings from any of the application's windows.
QKeySequence settingsShortcut();

} // namespace grellan
