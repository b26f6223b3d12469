#pragma once

namespace grellan {

// Removes from the environment the folders that cannot be used as given, so Qt, the backend library
// and the programs grellan starts all fall back to the same defaults: an XDG_CONFIG_HOME,
// XDG_DATA_HOME, XDG_CACHE_HOME or XDG_STATE_HOME that is relative (the base-directory rules say to
// ignore it) or not UTF-8 (a Qt path cannot name its bytes), and a TMPDIR that is no existing absolute
// folder (Qt would put its temporary files at the file system's root). One warning for each. Call it
// first in main, before any thread starts.
void dropUnusableEnvironmentPaths();

} // namespace grellan
