#pragma once

#include "zunto/json/indented_writer.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hbd::core_configuration::details {

// One list of "from" -> "to" mappings ("simple_modifications" or "fn_function_keys" of a
// profile or of a device). Each entry is kept as two compact JSON texts, with the values they are
// the dumps of.
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

  // The texts of a pair with the values they are the compact dumps of: to_json() copies the values
  // rather than parse every text again. The values never change, so copies of a list (the default
  // function keys in every profile and device) share them.
  struct entry : pair {
    std::shared_ptr<const nlohmann::json> from;
    std::shared_ptr<const nlohmann::json> to;
  };

  // A list, so that a text handed out stays where it is while other pairs come and go.
  const std::list<entry>& get_pairs() const { return entries_; }

private:
  static entry make_entry(nlohmann::json from, nlohmann::json to);
  static std::optional<entry> normalize_pair(const std::string& from_json_string, const std::string& to_json_string);
  // A "from" object with members and a "to" list with elements: only such entries are written.
  static bool is_complete(const entry& e);

  std::list<entry> entries_;
};

} // namespace hbd::core_configuration::details
