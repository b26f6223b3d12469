#include "buffer.hpp"
#include "core_configuration_editing.hpp"
#include "libhbd.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

using hbd::core_configuration::details::profile;

// Dumps as the configuration file is written, so that texts with invalid UTF-8 still come out.
std::string dump_rule(const nlohmann::json& json) {
  return json.dump(4, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

namespace libhbd_cpp {

void core_configuration_push_front_selected_profile_complex_modifications_rule(
    void* core_configuration_handle, const hbd::core_configuration::details::complex_modifications_rule& rule) {
  if (rule.get_json_depth() > max_rule_depth) {
    throw std::invalid_argument(fmt::format("the rule is nested deeper than {0} levels", max_rule_depth));
  }
  if (auto* configuration = libhbd::get_core_configuration(core_configuration_handle)) {
    auto& rules = configuration->get_selected_profile().get_complex_modifications().get_rules();
    rules.insert(rules.begin(), rule);
  }
}

} // namespace libhbd_cpp

size_t libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(
    void* core_configuration_handle) {
  return libhbd::with_selected_profile(
      __func__, core_configuration_handle, std::size_t{0},
      [](const profile& selected) { return selected.get_complex_modifications().get_rules().size(); });
}

void libhbd_core_configuration_erase_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                 size_t index) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle,
                                [&](profile& selected) { selected.get_complex_modifications().erase_rule(index); });
}

void libhbd_core_configuration_swap_selected_profile_complex_modifications_rules(void* core_configuration_handle,
                                                                                 size_t index1, size_t index2) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    auto& rules = selected.get_complex_modifications().get_rules();
    if (index1 < rules.size() && index2 < rules.size()) {
      std::swap(rules[index1], rules[index2]);
    }
  });
}

void libhbd_core_configuration_move_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                size_t source_index,
                                                                                size_t destination_index) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    // A destination past the end means the end; a source past it names no rule.
    if (source_index < selected.get_complex_modifications().get_rules().size()) {
      selected.get_complex_modifications().move_rule(source_index, destination_index);
    }
  });
}

const char* libhbd_core_configuration_get_selected_profile_complex_modifications_rule_description(
    void* core_configuration_handle, size_t index) {
  return libhbd::with_selected_profile(__func__, core_configuration_handle, static_cast<const char*>(nullptr),
                                       [&](const profile& selected) -> const char* {
                                         const auto& rules = selected.get_complex_modifications().get_rules();
                                         return index < rules.size() ? rules[index].get_description().c_str() : nullptr;
                                       });
}

bool libhbd_core_configuration_get_selected_profile_complex_modifications_rule_json_string(
    void* core_configuration_handle, size_t index, char* buffer, size_t length) {
  return libhbd::with_selected_profile(__func__, core_configuration_handle, false, [&](const profile& selected) {
    const auto& rules = selected.get_complex_modifications().get_rules();
    return index < rules.size() && libhbd::copy_whole_to_buffer(dump_rule(rules[index].get_json()), buffer, length);
  });
}

int32_t libhbd_core_configuration_get_selected_profile_complex_modifications_parameter(void* core_configuration_handle,
                                                                                       const char* name) {
  return libhbd::with_selected_profile(
      __func__, core_configuration_handle, std::int32_t{0}, [&](const profile& selected) -> std::int32_t {
        if (name == nullptr) {
          return 0;
        }
        return selected.get_complex_modifications().get_parameters().get_value(name).value_or(0);
      });
}

void libhbd_core_configuration_set_selected_profile_complex_modifications_parameter(void* core_configuration_handle,
                                                                                    const char* name, int32_t value) {
  libhbd::edit_selected_profile(__func__, core_configuration_handle, [&](profile& selected) {
    if (name != nullptr) {
      selected.get_complex_modifications().get_parameters().set_value(name, value);
    }
  });
}
