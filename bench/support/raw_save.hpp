#pragma once

#include <string>

namespace hbd_bench {

// The baseline of every save benchmark: `text` written to `path` + ".tmp" by hand, optionally
// synced to disk, then renamed over `path`. False when a step failed.
bool raw_write_and_rename(const std::string& path, const std::string& text, bool sync_to_disk);

} // namespace hbd_bench
