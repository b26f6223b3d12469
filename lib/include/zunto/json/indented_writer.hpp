#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace zunto::json {

// Writes the text that dump(4, ' ', false, ignore) gives for a value, piece by piece, so that a
// value made of kept JSON and fields need not be built as one tree first. Also counts how deep the
// written value nests.
class indented_writer final {
public:
  // One member written by a function, in place of a kept member of the same name.
  struct member final {
    std::string_view key;
    std::function<void(indented_writer&)> write;
  };

  explicit indented_writer(std::string& output);
  ~indented_writer();

  indented_writer(const indented_writer&) = delete;
  indented_writer& operator=(const indented_writer&) = delete;

  // A whole value at the current place.
  void value(const nlohmann::json& json);
  // The same for a value whose nesting_depth is known.
  void value(const nlohmann::json& json, std::size_t depth);
  // A value given as the compact text that dump() writes, laid out as a whole value would be.
  void compact_text(std::string_view text);
  // An object of the kept object's members and the given ones, in name order. `members` is sorted
  // by key; a kept value that is not an object counts as an empty one.
  void object(const nlohmann::json& kept, std::span<const member> members);
  // An array of `count` elements, each written by `write(index)`.
  void array(std::size_t count, const std::function<void(std::size_t)>& write);

  // The deepest nesting written so far, as nesting_depth counts it.
  std::size_t depth() const { return deepest_; }

private:
  void indent();
  void key(const std::string& name);
  void enter(std::size_t nested);

  std::string& output_;
  nlohmann::detail::serializer<nlohmann::json> serializer_;
  // How many arrays and objects enclose the current place.
  std::size_t level_ = 0;
  std::size_t deepest_ = 0;
};

} // namespace zunto::json
