#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace hbd_bench {

// How far a baseline save goes to survive a crash: not at all, the file's data synced before the
// rename, or that and then the folder synced so that the rename itself is on disk.
enum class durability { none, file, file_and_folder };

// The baseline of every save benchmark: `text` written to `path` + ".tmp" by hand, synced as asked,
// then renamed over `path`. False when a step failed.
bool raw_write_and_rename(const std::string& path, const std::string& text, durability level);

// The same, for the JSON library's own text of `json` as the savers lay it out (dump(4)), made in
// the call: the fair baseline of a save that serialises.
bool dump_write_and_rename(const std::string& path, const nlohmann::json& json, durability level);

} // namespace hbd_bench
