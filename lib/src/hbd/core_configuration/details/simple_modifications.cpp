#include "hbd/core_configuration/details/simple_modifications.hpp"

#include "SI/natural.hpp"
#include "hbd/logger.hpp"
#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace hbd::core_configuration::details {

namespace {

// Texts come from callers of the C interface: a value nested too deep to be saved and loaded again
// is refused like any other text that is not JSON.
nlohmann::json parse_with_comments(const std::string& text) {
  return zunto::json::parse_with_depth_limit(text, simple_modifications::max_text_depth);
}

// Natural order, then byte order between texts it ranks equal: a strict weak ordering, so
// the same entries always sort (and save) the same way.
bool from_less(const std::string& left, const std::string& right) {
  const char* l = left.c_str();
  const char* r = right.c_str();
  if (SI::natural::_compare(l, l + left.size(), r, r + right.size())) {
    return true;
  }
  if (SI::natural::_compare(r, r + right.size(), l, l + left.size())) {
    return false;
  }
  return left < right;
}

nlohmann::json key_code_object(const std::string& name) {
  auto object = nlohmann::json::object();
  object["key_code"] = name;
  return object;
}

// The compact text of "from" without its member of empty name; the copy is made only when there is
// one to take away. Throws the JSON library's type_error when the value is not an object.
std::string from_text(const nlohmann::json& from) {
  if (from.is_object() && !from.contains("")) {
    return from.dump();
  }
  auto copy = from;
  copy.erase("");
  return copy.dump();
}

// The compact text of migrate_to_json(to), without copying an event that needs no change.
std::string to_text(const nlohmann::json& to) {
  if (to.is_object() && !to.empty() && !to.contains("")) {
    return "[" + to.dump() + "]";
  }
  return simple_modifications::migrate_to_json(to).dump();
}

// The text pair that replace_pair and replace_second store; empty when either text is not JSON.
std::optional<simple_modifications::pair> normalize_pair(const std::string& from_json_string,
                                                         const std::string& to_json_string) {
  try {
    auto from = parse_with_comments(from_json_string);
    auto to = simple_modifications::migrate_to_json(parse_with_comments(to_json_string));
    // A single event becomes a list of one, a level deeper.
    if (zunto::json::nesting_depth(to) > simple_modifications::max_text_depth) {
      return std::nullopt;
    }
    return simple_modifications::pair{from.dump(), to.dump()};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

} // namespace

void simple_modifications::handle_json(const nlohmann::json& json) {
  std::vector<pair> entries;

  if (json.is_object()) {
    for (const auto& [name, value] : json.items()) {
      if (!value.is_string()) {
        continue;
      }
      std::string from = name.empty() ? std::string("{}") : key_code_object(name).dump();
      auto to = nlohmann::json::array({key_code_object(value.get<std::string>())});
      entries.emplace_back(std::move(from), to.dump());
    }
  } else if (json.is_array()) {
    for (const auto& entry : json) {
      if (!entry.is_object()) {
        continue;
      }
      std::optional<std::string> from;
      std::optional<std::string> to;
      for (const auto& [key, value] : entry.items()) {
        if (key == "from") {
          from = from_text(value);
        } else if (key == "to") {
          to = to_text(value);
        } else {
          logger::get_logger()->error("json error: Unknown key: {0} in {1}", key,
                                      zunto::json::dump_for_error_message(entry));
        }
      }
      if (from && to) {
        entries.emplace_back(std::move(*from), std::move(*to));
      }
    }
  } else {
    throw zunto::json::unmarshal_error(
        fmt::format("json must be array or object, but is `{0}`", zunto::json::dump_for_error_message(json)));
  }

  // The last entry of each "from" wins over earlier ones, in this input and in the list; one
  // hash lookup per entry keeps large lists linear.
  std::unordered_map<std::string_view, std::size_t> last_index;
  last_index.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    last_index.insert_or_assign(std::string_view(entries[i].first), i);
  }
  std::erase_if(pairs_, [&](const pair& p) { return last_index.contains(std::string_view(p.first)); });

  std::vector<bool> keep(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    keep[i] = last_index.at(std::string_view(entries[i].first)) == i;
  }
  last_index.clear(); // its keys view the strings that are moved below
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (keep[i]) {
      pairs_.push_back(std::move(entries[i]));
    }
  }

  pairs_.sort([](const pair& left, const pair& right) { return from_less(left.first, right.first); });
}

nlohmann::json simple_modifications::migrate_to_json(const nlohmann::json& json) {
  if (!json.is_object()) {
    return json;
  }
  auto copy = json;
  copy.erase("");
  if (copy.empty()) {
    return nlohmann::json::array();
  }
  return nlohmann::json::array({std::move(copy)});
}

void simple_modifications::erase_by_from_json_string(const std::string& from_json_string) {
  std::string from;
  try {
    from = parse_with_comments(from_json_string).dump();
  } catch (const std::exception&) {
    return;
  }
  std::erase_if(pairs_, [&](const pair& p) { return p.first == from; });
}

nlohmann::json simple_modifications::to_json() const {
  auto result = nlohmann::json::array();
  std::unordered_set<std::string_view> written;
  for (const auto& [from_text, to_text] : pairs_) {
    if (written.contains(from_text)) {
      continue;
    }
    try {
      auto from = nlohmann::json::parse(from_text);
      auto to = nlohmann::json::parse(to_text);
      if (!from.is_object() || from.empty() || !to.is_array() || to.empty()) {
        continue;
      }
      auto entry = nlohmann::json::object();
      entry["from"] = std::move(from);
      entry["to"] = std::move(to);
      result.push_back(std::move(entry));
      written.insert(from_text);
    } catch (const std::exception&) {
      // A text that no longer parses is dropped from the save.
    }
  }
  return result;
}

void simple_modifications::write_json(zunto::json::indented_writer& writer) const {
  // The stored texts are compact dumps, so what to_json() keeps shows in the text: a "from" object
  // with members, a "to" array with elements, and the first pair of each "from".
  std::vector<const pair*> written;
  std::unordered_set<std::string_view> seen;
  for (const auto& p : pairs_) {
    const bool complete =
        p.first.size() > 2 && p.first.front() == '{' && p.second.size() > 2 && p.second.front() == '[';
    if (complete && seen.insert(p.first).second) {
      written.push_back(&p);
    }
  }
  using zunto::json::indented_writer;
  writer.array(written.size(), [&](std::size_t i) {
    const std::array<indented_writer::member, 2> members{{
        {"from", [&](indented_writer& w) { w.compact_text(written[i]->first); }},
        {"to", [&](indented_writer& w) { w.compact_text(written[i]->second); }},
    }};
    writer.object(nlohmann::json::object(), members);
  });
}

void simple_modifications::replace_pair(std::size_t index, const std::string& from_json_string,
                                        const std::string& to_json_string) {
  auto normalized = normalize_pair(from_json_string, to_json_string);
  if (normalized && index < pairs_.size()) {
    *std::next(pairs_.begin(), static_cast<std::ptrdiff_t>(index)) = std::move(*normalized);
  }
}

void simple_modifications::push_back_pair() { pairs_.emplace_back("{}", "[]"); }

void simple_modifications::erase_pair(std::size_t index) {
  if (index < pairs_.size()) {
    pairs_.erase(std::next(pairs_.begin(), static_cast<std::ptrdiff_t>(index)));
  }
}

void simple_modifications::replace_second(const std::string& from_json_string, const std::string& to_json_string) {
  auto normalized = normalize_pair(from_json_string, to_json_string);
  if (!normalized) {
    return;
  }
  auto it = std::find_if(pairs_.begin(), pairs_.end(), [&](const pair& p) { return p.first == normalized->first; });
  if (it != pairs_.end()) {
    it->second = std::move(normalized->second);
  }
}

} // namespace hbd::core_configuration::details
