#include "zunto/spdlog/impl/merge_log_file.hpp"

#include "zunto/spdlog/read_log_files.hpp"

#include <utf8cpp/utf8.h>

#include <iterator>

namespace zunto::spdlog::impl {

merge_log_file::merge_log_file(const std::string& path) : stream_(path) { read_next_line(); }

void merge_log_file::read_next_line() {
  std::string raw;
  if (!stream_ || stream_.eof() || !std::getline(stream_, raw)) {
    line_.clear();
    date_number_ = std::nullopt;
    return;
  }

  line_.clear();
  utf8::replace_invalid(raw.begin(), raw.end(), std::back_inserter(line_), 0xfffd);
  date_number_ = find_date_number(line_);
  if (!date_number_) {
    line_.clear();
    date_number_ = 0;
  }
}

} // namespace zunto::spdlog::impl
