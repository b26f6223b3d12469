#include "hbd/core_configuration/details/complex_modifications.hpp"

#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"

#include <algorithm>
#include <array>

namespace hbd::core_configuration::details {

complex_modifications::complex_modifications() : complex_modifications(nlohmann::json::object()) {}

complex_modifications::complex_modifications(const nlohmann::json& json)
    : complex_modifications(nlohmann::json(json)) {}

complex_modifications::complex_modifications(nlohmann::json&& json) {
  zunto::json::requires_object(json, "json");

  // Rules are built with the parameters, so these are read first whatever the member order.
  if (auto it = json.find("parameters"); it != json.end()) {
    parameters_ = complex_modifications_parameters(*it);
  }

  // "rules" is written from the rules themselves: keeping it here too would copy every rule.
  auto rules = json.find("rules");
  if (rules != json.end() && rules->is_array()) {
    rules_.reserve(rules->size());
    for (auto& rule : *rules) {
      rules_.emplace_back(std::move(rule), parameters_);
    }
  }
  if (rules != json.end()) {
    json.erase(rules);
  }
  json_ = std::move(json);
}

nlohmann::json complex_modifications::to_json() const {
  auto json = zunto::json::object_copy(json_);

  auto rules = nlohmann::json::array();
  for (const auto& rule : rules_) {
    rules.push_back(rule.get_json());
  }
  json["rules"] = std::move(rules);
  json["parameters"] = parameters_.to_json();
  return json;
}

void complex_modifications::write_json(zunto::json::indented_writer& writer) const {
  using member = zunto::json::indented_writer::member;
  // In name order, as the written object keeps its members.
  const std::array<member, 2> members{{
      {"parameters", [&](zunto::json::indented_writer& w) { w.value(parameters_.to_json()); }},
      {"rules",
       [&](zunto::json::indented_writer& w) {
         w.array(rules_.size(), [&](std::size_t i) { w.value(rules_[i].get_json(), rules_[i].get_json_depth()); });
       }},
  }};
  writer.object(json_, members);
}

void complex_modifications::replace_rule(std::size_t index, const complex_modifications_rule& rule) {
  if (index < rules_.size()) {
    rules_[index] = rule;
  }
}

void complex_modifications::erase_rule(std::size_t index) {
  if (index < rules_.size()) {
    rules_.erase(rules_.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

void complex_modifications::move_rule(std::size_t source_index, std::size_t destination_index) {
  // Indexes past the end stand for the last rule (source) or the end (destination); clamping
  // them first keeps a huge index from walking through swaps that would all be skipped.
  if (rules_.empty()) {
    return;
  }
  auto begin = rules_.begin();
  auto last = rules_.size() - 1;
  if (source_index > destination_index) {
    auto source = std::min(source_index, last);
    if (source > destination_index) {
      std::rotate(begin + static_cast<std::ptrdiff_t>(destination_index), begin + static_cast<std::ptrdiff_t>(source),
                  begin + static_cast<std::ptrdiff_t>(source) + 1);
    }
  } else if (source_index < destination_index) {
    auto end = std::min(destination_index - 1, last);
    if (source_index < end) {
      std::rotate(begin + static_cast<std::ptrdiff_t>(source_index),
                  begin + static_cast<std::ptrdiff_t>(source_index) + 1, begin + static_cast<std::ptrdiff_t>(end) + 1);
    }
  }
}

} // namespace hbd::core_configuration::details
