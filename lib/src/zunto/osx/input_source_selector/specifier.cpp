#include "zunto/osx/input_source_selector/specifier.hpp"

#include "zunto/hash_combine.hpp"
#include "zunto/json/requires.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <nlohmann/json.hpp>

namespace zunto::osx::input_source_selector {

namespace {

void set(std::optional<std::string>& text, std::optional<bounded_regex>& regex,
         const std::optional<std::string>& value) {
  if (value) {
    regex.emplace(*value);
  } else {
    regex.reset();
  }
  text = value;
}

bool found(const std::optional<bounded_regex>& regex, const std::optional<std::string>& text) {
  if (!regex) {
    return true;
  }
  return text && regex->search(*text);
}

} // namespace

specifier& specifier::set_language(const std::optional<std::string>& value) {
  set(language_, language_regex_, value);
  return *this;
}

specifier& specifier::set_input_source_id(const std::optional<std::string>& value) {
  set(input_source_id_, input_source_id_regex_, value);
  return *this;
}

specifier& specifier::set_input_mode_id(const std::optional<std::string>& value) {
  set(input_mode_id_, input_mode_id_regex_, value);
  return *this;
}

bool specifier::test(const input_source::properties& properties) const {
  return found(language_regex_, properties.first_language) &&
         found(input_source_id_regex_, properties.input_source_id) &&
         found(input_mode_id_regex_, properties.input_mode_id);
}

bool specifier::operator==(const specifier& other) const {
  return language_ == other.language_ && input_source_id_ == other.input_source_id_ &&
         input_mode_id_ == other.input_mode_id_;
}

void from_json(const nlohmann::json& json, specifier& value) {
  zunto::json::requires_object(json, "json");
  for (const auto& key_item : json.items()) {
    const auto& key = key_item.key();
    const auto& member = key_item.value();
    using setter_t = specifier& (specifier::*)(const std::optional<std::string>&);
    setter_t setter = nullptr;
    if (key == "language") {
      setter = &specifier::set_language;
    } else if (key == "input_source_id") {
      setter = &specifier::set_input_source_id;
    } else if (key == "input_mode_id") {
      setter = &specifier::set_input_mode_id;
    } else {
      throw zunto::json::unmarshal_error("unknown key: `" + key + "`");
    }
    zunto::json::requires_string(member, "`" + key + "`");
    // A bad, over-long or refused expression; the member is shown whole.
    const auto expression_error = [&](const std::exception& e) {
      const nlohmann::json pair = {{key, member}};
      const auto dump = pair.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      return zunto::json::unmarshal_error(std::string(e.what()) + ": `" + dump.substr(1, dump.size() - 2) + "`");
    };
    try {
      (value.*setter)(member.get<std::string>());
    } catch (const std::regex_error& e) {
      throw expression_error(e);
    } catch (const bounded_regex::pattern_too_long& e) {
      throw expression_error(e);
    } catch (const bounded_regex::back_reference& e) {
      throw expression_error(e);
    }
  }
}

} // namespace zunto::osx::input_source_selector

std::size_t std::hash<zunto::osx::input_source_selector::specifier>::operator()(
    const zunto::osx::input_source_selector::specifier& value) const noexcept {
  std::uint64_t combined = 0;
  zunto::hash_combine(combined, zunto::optional_hash(value.get_language()));
  zunto::hash_combine(combined, zunto::optional_hash(value.get_input_source_id()));
  zunto::hash_combine(combined, zunto::optional_hash(value.get_input_mode_id()));
  return combined;
}
