#include "hbd/core_configuration/details/complex_modifications.hpp"

#include "zunto/json/object_copy.hpp"
#include "zunto/json/requires.hpp"

#include <algorithm>

namespace hbd::core_configuration::details {

complex_modifications::complex_modifications() : complex_modifications(nlohmann::json::object()) {
}

complex_modifications::complex_modifications(const nlohmann::json& json) {
  zunto::json::requires_object(json, "json");

  // "rules" is written from the rules themselves: keeping it here too would copy every rule.
  json_ = nlohmann::json::object();
  for (auto it = json.begin(); it != json.end(); ++it) {
    if (it.key() != "rules") {
      json_[it.key()] = *it;
    }
  }

  // Rules are built with the parameters, so these are read first whatever the member order.
  if (auto it = json.find("parameters"); it != json.end()) {
    parameters_ = complex_modifications_parameters(*it);
  }

  if (auto it = json.find("rules"); it != json.end() && it->is_array()) {
    rules_.reserve(it->size());
    for (const auto& rule : *it) {
      rules_.emplace_back(rule, parameters_);
    }
  }
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
      std::rotate(begin + static_cast<std::ptrdiff_t>(source_index), begin + static_cast<std::ptrdiff_t>(source_index) + 1,
                  begin + static_cast<std::ptrdiff_t>(end) + 1);
    }
  }
}

} // namespace hbd::core_configuration::details
