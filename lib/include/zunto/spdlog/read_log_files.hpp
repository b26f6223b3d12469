#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zunto::spdlog {

// The date of a log line that begins with "[yyyy-mm-dd hh:mm:ss.mmm]": its 17 digits read in order
// as one number. None for a shorter line, a wrong separator or digits that do not convert.
std::optional<std::int64_t> find_date_number(std::string_view line);

// The file's first rotated file, as the rotating file sink names it ("grabber.log" → "grabber.1.log").
std::string rotated_log_file_path(const std::string& path);

// The dated lines of the files and their first rotated files merged in time order; on equal dates a
// file's line comes before its rotated file's, earlier paths before later ones. With a maximum other
// than 0 only that many of the newest lines stay. Missing files and anything but regular files are
// skipped without waiting; each file is read as impl::merge_log_file reads it (its newest bytes up
// to a cap, long lines cut).
std::shared_ptr<std::deque<std::string>> read_log_files(const std::vector<std::string>& paths,
                                                        std::size_t max_line_count);

} // namespace zunto::spdlog
