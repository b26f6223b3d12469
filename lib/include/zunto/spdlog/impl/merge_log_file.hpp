#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace zunto::spdlog::impl {

// Reads one log file line by line for the merge: the current line is valid UTF-8 and carries a
// date, or is empty with date 0 (an undated line, skipped), or the reader is exhausted (no date).
class merge_log_file final {
public:
  // A file that cannot be opened gives a reader exhausted at once.
  explicit merge_log_file(const std::string& path);

  const std::string& get_line() const { return line_; }
  const std::optional<std::int64_t>& get_date_number() const { return date_number_; }

  void read_next_line();

private:
  std::ifstream stream_;
  std::string line_;
  std::optional<std::int64_t> date_number_;
};

} // namespace zunto::spdlog::impl
