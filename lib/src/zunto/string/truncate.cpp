#include "zunto/string/truncate.hpp"

#include <utf8cpp/utf8.h>

#include <iterator>

namespace zunto::string {

std::string truncate(std::string_view text, std::size_t length, std::string_view placeholder) {
  std::string repaired;
  utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(repaired));
  const std::string_view view(repaired);
  if (view.size() > length && placeholder.size() < length) {
    auto result = trim_invalid_right_copy(view.substr(0, length - placeholder.size()));
    result += placeholder;
    return result;
  }
  return trim_invalid_right_copy(view.substr(0, length));
}

std::string trim_invalid_right_copy(std::string_view text) {
  return std::string(text.begin(), utf8::find_invalid(text.begin(), text.end()));
}

} // namespace zunto::string
