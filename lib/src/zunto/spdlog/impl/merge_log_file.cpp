#include "zunto/spdlog/impl/merge_log_file.hpp"

#include "platform/files/regular_file.hpp"
#include "zunto/spdlog/read_log_files.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace zunto::spdlog::impl {
namespace {

// The file's newest whole lines within max_read_size bytes (the last line may lack its line feed).
std::string read_tail(const std::string& path) {
  const int fd = platform::files::open_regular_file(path);
  if (fd < 0) {
    return {};
  }
  std::size_t limit = merge_log_file::max_read_size;
  bool cut = false;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && static_cast<std::uintmax_t>(status.st_size) > limit) {
    // One byte more than the limit: when it is a line feed, the first line read is whole.
    ++limit;
    cut = ::lseek(fd, status.st_size - static_cast<off_t>(limit), SEEK_SET) >= 0;
  }
  std::string content;
  // The file may grow while it is read; whatever it held, reading stops at the limit.
  platform::files::read_chunks(fd, [&](std::string_view piece) {
    content.append(piece.substr(0, limit - content.size()));
    return content.size() < limit;
  });
  ::close(fd);
  if (cut) {
    const auto first_line_end = content.find('\n');
    content.erase(0, first_line_end == std::string::npos ? content.size() : first_line_end + 1);
  }
  return content;
}

} // namespace

merge_log_file::merge_log_file(const std::string& path) : content_(read_tail(path)) { read_next_line(); }

void merge_log_file::read_next_line() {
  line_.clear();
  if (position_ >= content_.size()) {
    date_number_ = std::nullopt;
    return;
  }

  const auto end = std::min(content_.find('\n', position_), content_.size());
  const std::string_view raw(content_.data() + position_, std::min(end - position_, max_line_length));
  position_ = end + 1;

  utf8::replace_invalid(raw.begin(), raw.end(), std::back_inserter(line_), 0xfffd);
  date_number_ = find_date_number(line_);
  if (!date_number_) {
    line_.clear();
    date_number_ = 0;
  }
}

} // namespace zunto::spdlog::impl
