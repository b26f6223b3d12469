#pragma once

#include "zunto/json/indented_writer.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <list>
#include <string>
#include <utility>
#include <vector>

namespace hbd::core_configuration::details {

// One list of "from" -> "to" mappings ("simple_modifications" or "fn_function_keys" of a
// profile or of a device). Each entry is kept as two compact JSON texts.
class simple_modifications final {
public:
  using pair = std::pair<std::string, std::string>;

  // Merges an array-form or object-form list into this one, then sorts by "from".
  // Throws zunto::json::unmarshal_error for any other kind of value.
  void handle_json(const nlohmann::json& json);

  // A single "to" event becomes a list of one; an empty one becomes an empty list.
  static nlohmann::json migrate_to_json(const nlohmann::json& json);

  void erase_by_from_json_string(const std::string& from_json_string);

  // The complete entries, each "from" once.
  nlohmann::json to_json() const;
  // Writes the text of to_json() without building it.
  void write_json(zunto::json::indented_writer& writer) const;

  // How deep a text given to replace_pair or replace_second may nest: a device's list sits seven
  // levels down in the configuration file, which loads only up to zunto::json::default_max_depth.
  static constexpr std::size_t max_text_depth = zunto::json::default_max_depth - 7;

  // Nothing when either text is not JSON or nests deeper than max_text_depth.
  void replace_pair(std::size_t index, const std::string& from_json_string, const std::string& to_json_string);
  void push_back_pair();
  void erase_pair(std::size_t index);
  void replace_second(const std::string& from_json_string, const std::string& to_json_string);

  // A list, so that a text handed out stays where it is while other pairs come and go.
  const std::list<pair>& get_pairs() const { return pairs_; }

private:
  std::list<pair> pairs_;
};

} // namespace hbd::core_configuration::details
