#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zunto::spdlog::impl {

// Reads one log file line by line for the merge: the current line is valid UTF-8 and carries a
// date, or is empty with date 0 (an undated line, skipped), or the reader is exhausted (no date).
class merge_log_file final {
public:
  // A log is written by other programs and may be anything: only the newest max_read_size bytes
  // of a regular file are read, and a line is cut after max_line_length bytes, so a huge or
  // endless log costs bounded memory and time.
  static constexpr std::size_t max_read_size = std::size_t{1024} * 1024;
  static constexpr std::size_t max_line_length = std::size_t{16} * 1024;

  // A file that cannot be opened, or is no regular file (a FIFO, a device, a folder), gives a
  // reader exhausted at once.
  explicit merge_log_file(const std::string& path);

  const std::string& get_line() const { return line_; }
  const std::optional<std::int64_t>& get_date_number() const { return date_number_; }

  void read_next_line();

private:
  std::string content_;
  std::size_t position_ = 0;
  std::string line_;
  std::optional<std::int64_t> date_number_;
};

} // namespace zunto::spdlog::impl
