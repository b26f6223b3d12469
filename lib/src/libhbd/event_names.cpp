#include "buffer.hpp"
#include "entry_point.hpp"
#include "hbd/momentary_switch_event.hpp"
#include "libhbd.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

hbd::momentary_switch_event make_event(int32_t usage_page, int32_t usage) {
  return hbd::momentary_switch_event(zunto::hid::usage_page::value_t{usage_page}, zunto::hid::usage::value_t{usage});
}

// The event's JSON object; null for a usage the event writer has no name for (it then writes a
// bare string).
nlohmann::json make_event_json(int32_t usage_page, int32_t usage) {
  nlohmann::json json;
  to_json(json, make_event(usage_page, usage));
  return json.is_object() ? json : nlohmann::json();
}

std::string dump(const nlohmann::json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// "" for the end marker, "zero" for a value without a name.
std::string_view modifier_flag_name(hbd::modifier_flag flag) {
  if (flag == hbd::modifier_flag::end_) {
    return "";
  }
  return hbd::make_modifier_flag_name(flag).value_or("zero");
}

} // namespace

bool libhbd_is_momentary_switch_event_target(int32_t usage_page, int32_t usage) {
  return libhbd::guard_entry_point(__func__, false, [&] {
    return hbd::momentary_switch_event::target(zunto::hid::usage_page::value_t{usage_page},
                                               zunto::hid::usage::value_t{usage});
  });
}

bool libhbd_is_modifier_flag(int32_t usage_page, int32_t usage) {
  return libhbd::guard_entry_point(__func__, false,
                                   [&] { return make_event(usage_page, usage).make_modifier_flag().has_value(); });
}

void libhbd_get_momentary_switch_event_json_string(char* buffer, size_t length, int32_t usage_page, int32_t usage) {
  libhbd::guard_entry_point(__func__, [&] {
    auto json = make_event_json(usage_page, usage);
    if (json.is_null()) {
      json = nlohmann::json{{"usage_page", usage_page}, {"usage", usage}};
    }
    libhbd::copy_to_buffer(dump(json), buffer, length);
  });
}

void libhbd_get_momentary_switch_event_usage_name(char* buffer, size_t length, int32_t usage_page, int32_t usage) {
  libhbd::guard_entry_point(__func__, [&] {
    libhbd::copy_to_buffer("", buffer, length);
    auto json = make_event_json(usage_page, usage);
    if (json.is_null()) {
      json = nlohmann::json{{"usage", usage}};
    }
    for (const auto& value : json) {
      libhbd::copy_to_buffer(dump(value), buffer, length);
    }
  });
}

size_t libhbd_get_modifier_flag_name(char* buffer, size_t length, int32_t usage_page, int32_t usage) {
  return libhbd::guard_entry_point(__func__, std::size_t{0}, [&] {
    const auto flag = make_event(usage_page, usage).make_modifier_flag();
    return libhbd::copy_to_buffer(flag ? modifier_flag_name(*flag) : std::string_view(), buffer, length);
  });
}

void libhbd_get_simple_modification_json_string(char* buffer, size_t length, int32_t usage_page, int32_t usage) {
  libhbd::guard_entry_point(__func__, [&] {
    // The first pointing button is never remapped alone: it would take the click away.
    if (usage_page == 9 && usage == 1) {
      libhbd::copy_to_buffer("", buffer, length);
      return;
    }
    const auto json = make_event_json(usage_page, usage);
    libhbd::copy_to_buffer(json.is_null() ? std::string() : dump(nlohmann::json{{"from", json}}), buffer, length);
  });
}
