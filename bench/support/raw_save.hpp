#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace hbd_bench {

// The baseline of every save benchmark: `text` written to `path` + ".tmp" by hand, optionally
// synced to disk, then renamed over `path`. False when a step failed.
bool raw_write_and_rename(const std::string& path, const std::string& text, bool sync_to_disk);

// The same, for the JSON library's own text of `json` as the savers lay it out (dump(4)), made in
// the call: the fair baseline of a save that serialises.
bool dump_write_and_rename(const std::string& path, const nlohmann::json& json, bool sync_to_disk);

} // namespace hbd_bench
