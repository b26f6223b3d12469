#pragma once

#include "zunto/json/indented_writer.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
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

  void replace_pair(std::size_t index, const std::string& from_json_string, const std::string& to_json_string);
  void push_back_pair();
  void erase_pair(std::size_t index);
  void replace_second(const std::string& from_json_string, const std::string& to_json_string);

  const std::vector<pair>& get_pairs() const { return pairs_; }

private:
  std::vector<pair> pairs_;
};

} // namespace hbd::core_configuration::details
