#include "buffer.hpp"
#include "core_configuration_editing.hpp"
#include "hbd/complex_modifications_utility.hpp"
#include "libhbd.h"
#include "zunto/json/parse_with_depth_limit.hpp"
#include "zunto/string/trim.hpp"

#include <fmt/format.h>

#include <exception>
#include <string>

namespace {

using hbd::core_configuration::details::complex_modifications_rule;
using hbd::core_configuration::details::profile;

// Reads the caller's rule text with the selected profile's parameters and stores it with `store`
// when validation finds nothing; otherwise the buffer gets the findings, one a line, or the error.
// A null text or an index out of range (checked by the caller) stores nothing.
template <typename Store>
void check_and_store_rule(std::string_view entry_point, void* handle, const char* json, char* error_message_buffer,
                          std::size_t length, Store&& store) {
  libhbd::copy_to_buffer("", error_message_buffer, length);
  libhbd::edit_selected_profile(entry_point, handle, [&](profile& selected) {
    if (json == nullptr) {
      return;
    }
    try {
      const complex_modifications_rule rule(zunto::json::parse_with_depth_limit(json, libhbd_cpp::max_rule_depth),
                                            selected.get_complex_modifications().get_parameters());
      const auto errors = hbd::complex_modifications_utility::lint_rule(rule);
      if (errors.empty()) {
        store(selected, rule);
        return;
      }
      std::string message;
      for (const auto& error : errors) {
        message += error + "\n";
      }
      zunto::string::trim(message);
      libhbd::copy_to_buffer(message, error_message_buffer, length);
    } catch (const std::exception& e) {
      libhbd::copy_to_buffer(fmt::format("error: {0}", e.what()), error_message_buffer, length);
    }
  });
}

} // namespace

void libhbd_core_configuration_replace_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                   size_t index, const char* json,
                                                                                   char* error_message_buffer,
                                                                                   size_t length) {
  // An index out of range names no rule: nothing to check.
  if (libhbd_core_configuration_get_selected_profile_complex_modifications_rules_size(core_configuration_handle) <=
      index) {
    libhbd::copy_to_buffer("", error_message_buffer, length);
    return;
  }
  check_and_store_rule(__func__, core_configuration_handle, json, error_message_buffer, length,
                       [&](profile& selected, const complex_modifications_rule& rule) {
                         selected.get_complex_modifications().replace_rule(index, rule);
                       });
}

void libhbd_core_configuration_push_front_selected_profile_complex_modifications_rule(void* core_configuration_handle,
                                                                                      const char* json,
                                                                                      char* error_message_buffer,
                                                                                      size_t length) {
  check_and_store_rule(__func__, core_configuration_handle, json, error_message_buffer, length,
                       [&](profile&, const complex_modifications_rule& rule) {
                         libhbd_cpp::core_configuration_push_front_selected_profile_complex_modifications_rule(
                             core_configuration_handle, rule);
                       });
}

void libhbd_core_configuration_get_new_complex_modifications_rule_json_string(char* buffer, size_t length) {
  libhbd::guard_entry_point(__func__, [&] {
    libhbd::copy_to_buffer(hbd::complex_modifications_utility::get_new_rule_json_string(), buffer, length);
  });
}
