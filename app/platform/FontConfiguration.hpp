#pragma once

#include <future>

namespace grellan {

// Loads the system's font configuration, which Qt loads at the first text (the longest step before
// the first window), on a thread of its own, so that it can happen while Qt starts. The future is
// ready once it is loaded. Needs nothing of Qt.
std::shared_future<void> loadFontConfiguration();

} // namespace grellan
