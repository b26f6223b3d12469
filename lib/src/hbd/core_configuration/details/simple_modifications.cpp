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
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

// "from" without its member of empty name. Throws the JSON library's type_error when the value is
// not an object.
nlohmann::json from_value(const nlohmann::json& from) {
  auto copy = from;
  copy.erase("");
  return copy;
}

} // namespace

// The texts are dumped from the values, so the two always agree. Throws the JSON library's
// type_error when a value holds invalid UTF-8.
simple_modifications::entry simple_modifications::make_entry(nlohmann::json from, nlohmann::json to) {
  // Braced elements are evaluated in order: the texts are dumped before the values move.
  return entry{{from.dump(), to.dump()},
               std::make_shared<const nlohmann::json>(std::move(from)),
               std::make_shared<const nlohmann::json>(std::move(to))};
}

// The entry that replace_pair and replace_second store; empty when either text is not JSON.
std::optional<simple_modifications::entry> simple_modifications::normalize_pair(const std::string& from_json_string,
                                                                                const std::string& to_json_string) {
  try {
    auto from = parse_with_comments(from_json_string);
    auto to = migrate_to_json(parse_with_comments(to_json_string));
    // A single event becomes a list of one, a level deeper.
    if (zunto::json::nesting_depth(to) > max_text_depth) {
      return std::nullopt;
    }
    return make_entry(std::move(from), std::move(to));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void simple_modifications::handle_json(const nlohmann::json& json) {
  std::vector<entry> entries;

  if (json.is_object()) {
    for (const auto& [name, value] : json.items()) {
      if (!value.is_string()) {
        continue;
      }
      auto from = name.empty() ? nlohmann::json::object() : key_code_object(name);
      entries.push_back(
          make_entry(std::move(from), nlohmann::json::array({key_code_object(value.get<std::string>())})));
    }
  } else if (json.is_array()) {
    for (const auto& item : json) {
      if (!item.is_object()) {
        continue;
      }
      std::optional<nlohmann::json> from;
      std::optional<nlohmann::json> to;
      for (const auto& [key, value] : item.items()) {
        if (key == "from") {
          from = from_value(value);
        } else if (key == "to") {
          to = migrate_to_json(value);
        } else {
          logger::get_logger()->error("json error: Unknown key: {0} in {1}", key,
                                      zunto::json::dump_for_error_message(item));
        }
      }
      if (from && to) {
        entries.push_back(make_entry(std::move(*from), std::move(*to)));
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
  std::erase_if(entries_, [&](const entry& e) { return last_index.contains(std::string_view(e.first)); });

  std::vector<bool> keep(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    keep[i] = last_index.at(std::string_view(entries[i].first)) == i;
  }
  last_index.clear(); // its keys view the strings that are moved below
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (keep[i]) {
      entries_.push_back(std::move(entries[i]));
    }
  }

  entries_.sort([](const entry& left, const entry& right) { return from_less(left.first, right.first); });
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
  std::erase_if(entries_, [&](const entry& e) { return e.first == from; });
}

bool simple_modifications::is_complete(const entry& e) {
  return e.from->is_object() && !e.from->empty() && e.to->is_array() && !e.to->empty();
}

nlohmann::json simple_modifications::to_json() const {
  auto result = nlohmann::json::array();
  std::unordered_set<std::string_view> written;
  for (const auto& e : entries_) {
    if (is_complete(e) && written.insert(e.first).second) {
      auto item = nlohmann::json::object();
      item["from"] = *e.from;
      item["to"] = *e.to;
      result.push_back(std::move(item));
    }
  }
  return result;
}

void simple_modifications::write_json(zunto::json::indented_writer& writer) const {
  // The first complete entry of each "from", as to_json() keeps them.
  std::vector<const pair*> written;
  std::unordered_set<std::string_view> seen;
  for (const auto& e : entries_) {
    if (is_complete(e) && seen.insert(e.first).second) {
      written.push_back(&e);
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
  if (normalized && index < entries_.size()) {
    *std::next(entries_.begin(), static_cast<std::ptrdiff_t>(index)) = std::move(*normalized);
  }
}

void simple_modifications::push_back_pair() {
  entries_.push_back(make_entry(nlohmann::json::object(), nlohmann::json::array()));
}

void simple_modifications::erase_pair(std::size_t index) {
  if (index < entries_.size()) {
    entries_.erase(std::next(entries_.begin(), static_cast<std::ptrdiff_t>(index)));
  }
}

void simple_modifications::replace_second(const std::string& from_json_string, const std::string& to_json_string) {
  auto normalized = normalize_pair(from_json_string, to_json_string);
  if (!normalized) {
    return;
  }
  auto it =
      std::find_if(entries_.begin(), entries_.end(), [&](const entry& e) { return e.first == normalized->first; });
  if (it != entries_.end()) {
    it->second = std::move(normalized->second);
    it->to = std::move(normalized->to);
  }
}

} // namespace hbd::core_configuration::details
