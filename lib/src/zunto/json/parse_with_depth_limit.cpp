#include "zunto/json/parse_with_depth_limit.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace zunto::json {
namespace {

// The library's own tree builder, with a count of the open arrays and objects in front of it.
class depth_limited_builder final {
public:
  using number_integer_t = nlohmann::json::number_integer_t;
  using number_unsigned_t = nlohmann::json::number_unsigned_t;
  using number_float_t = nlohmann::json::number_float_t;
  using string_t = nlohmann::json::string_t;
  using binary_t = nlohmann::json::binary_t;

  depth_limited_builder(nlohmann::json& result, std::string_view text, std::size_t max_depth)
      : builder_(result, true), text_(text), max_depth_(max_depth) {}

  std::size_t deepest() const { return deepest_; }

  bool null() { return builder_.null(); }
  bool boolean(bool value) { return builder_.boolean(value); }
  bool number_integer(number_integer_t value) { return builder_.number_integer(value); }
  bool number_unsigned(number_unsigned_t value) { return builder_.number_unsigned(value); }
  bool number_float(number_float_t value, const string_t& text) { return builder_.number_float(value, text); }
  bool string(string_t& value) { return builder_.string(value); }
  bool binary(binary_t& value) { return builder_.binary(value); }
  bool key(string_t& value) { return builder_.key(value); }

  bool start_object(std::size_t size) {
    enter();
    return builder_.start_object(size);
  }
  bool end_object() {
    --depth_;
    return builder_.end_object();
  }
  bool start_array(std::size_t size) {
    enter();
    return builder_.start_array(size);
  }
  bool end_array() {
    --depth_;
    return builder_.end_array();
  }

  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& exception) {
    // A number too large for a double comes as out_of_range; for the caller it is bad input like
    // any other, told by line and column as the parser tells bad syntax.
    if constexpr (std::is_same_v<Exception, nlohmann::json::out_of_range>) {
      throw nlohmann::json::parse_error::create(101, position_in_text(position),
                                                fmt::format("number overflow parsing '{0}'", token), nullptr);
    }
    return builder_.parse_error(position, token, exception);
  }

private:
  nlohmann::detail::position_t position_in_text(std::size_t chars_read) const {
    const auto read = text_.substr(0, chars_read);
    const auto line_start = read.rfind('\n');
    const auto lines = static_cast<std::size_t>(std::count(read.begin(), read.end(), '\n'));
    return {chars_read, line_start == std::string_view::npos ? read.size() : read.size() - line_start - 1, lines};
  }

  void enter() {
    if (++depth_ > max_depth_) {
      throw depth_error(fmt::format("JSON is nested deeper than {0} levels", max_depth_));
    }
    deepest_ = std::max(deepest_, depth_);
  }

  nlohmann::detail::json_sax_dom_parser<nlohmann::json> builder_;
  std::string_view text_;
  std::size_t max_depth_;
  std::size_t depth_ = 0;
  std::size_t deepest_ = 0;
};

} // namespace

nlohmann::json parse_with_depth_limit(std::string_view text, std::size_t max_depth) {
  std::size_t ignored = 0;
  return parse_with_depth_limit(text, max_depth, ignored);
}

nlohmann::json parse_with_depth_limit(std::string_view text, std::size_t max_depth, std::size_t& depth) {
  nlohmann::json result;
  depth_limited_builder builder(result, text, max_depth);
  nlohmann::json::sax_parse(text.begin(), text.end(), &builder, nlohmann::json::input_format_t::json, true, true);
  depth = builder.deepest();
  return result;
}

std::size_t nesting_depth(const nlohmann::json& json) {
  std::size_t deepest = 0;
  std::vector<std::pair<const nlohmann::json*, std::size_t>> pending{{&json, 0}};
  while (!pending.empty()) {
    const auto [value, above] = pending.back();
    pending.pop_back();
    if (!value->is_structured()) {
      continue;
    }
    deepest = std::max(deepest, above + 1);
    for (const auto& child : *value) {
      if (child.is_structured()) {
        pending.emplace_back(&child, above + 1);
      }
    }
  }
  return deepest;
}

} // namespace zunto::json
