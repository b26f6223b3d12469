#include "zunto/spdlog/read_log_files.hpp"

#include "zunto/spdlog/impl/merge_log_file.hpp"

#include <spdlog/sinks/rotating_file_sink.h>

#include <array>
#include <exception>

namespace zunto::spdlog {

std::optional<std::int64_t> find_date_number(std::string_view line) {
  // [2024-01-02 03:04:05.678]
  constexpr std::size_t length = 25;
  constexpr std::array<std::pair<std::size_t, char>, 8> separators = {{
      {0, '['},
      {5, '-'},
      {8, '-'},
      {11, ' '},
      {14, ':'},
      {17, ':'},
      {20, '.'},
      {24, ']'},
  }};
  constexpr std::array<std::pair<std::size_t, std::size_t>, 7> digits = {{
      {1, 4},
      {6, 2},
      {9, 2},
      {12, 2},
      {15, 2},
      {18, 2},
      {21, 3},
  }};

  if (line.size() < length) {
    return std::nullopt;
  }
  for (const auto& [position, character] : separators) {
    if (line[position] != character) {
      return std::nullopt;
    }
  }
  std::string joined;
  for (const auto& [position, count] : digits) {
    joined += line.substr(position, count);
  }
  try {
    return std::stoll(joined);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string rotated_log_file_path(const std::string& path) {
  return ::spdlog::sinks::rotating_file_sink_mt::calc_filename(path, 1);
}

std::shared_ptr<std::deque<std::string>> read_log_files(const std::vector<std::string>& paths,
                                                        std::size_t max_line_count) {
  std::vector<std::unique_ptr<impl::merge_log_file>> readers;
  for (const auto& path : paths) {
    readers.push_back(std::make_unique<impl::merge_log_file>(path));
    readers.push_back(std::make_unique<impl::merge_log_file>(rotated_log_file_path(path)));
  }

  auto result = std::make_shared<std::deque<std::string>>();
  while (true) {
    impl::merge_log_file* earliest = nullptr;
    for (const auto& reader : readers) {
      const auto& date = reader->get_date_number();
      if (date && (earliest == nullptr || *date < *earliest->get_date_number())) {
        earliest = reader.get();
      }
    }
    if (earliest == nullptr) {
      break;
    }
    if (!earliest->get_line().empty()) {
      result->push_back(earliest->get_line());
      if (max_line_count > 0 && result->size() > max_line_count) {
        result->pop_front();
      }
    }
    earliest->read_next_line();
  }
  return result;
}

} // namespace zunto::spdlog
