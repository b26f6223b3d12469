#include "zunto/json/requires.hpp"

#include "zunto/json/dump_for_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace {

using check_function = void (*)(const nlohmann::json&, std::string_view);

// The message a check threw, or nothing when it passed.
std::optional<std::string> run(check_function check, const nlohmann::json& json, std::string_view name) {
  try {
    check(json, name);
    return std::nullopt;
  } catch (const zunto::json::unmarshal_error& error) {
    return error.what();
  }
}

} // namespace

TEST(json_requires, accepts_only_its_kind_and_quotes_the_value) {
  const struct {
    const char* check_name;
    check_function check;
    const char* kind;
  } checks[] = {
      {"object", zunto::json::requires_object, "object"}, {"array", zunto::json::requires_array, "array"},
      {"string", zunto::json::requires_string, "string"}, {"boolean", zunto::json::requires_boolean, "boolean"},
      {"number", zunto::json::requires_number, "number"},
  };
  const struct {
    nlohmann::json value;
    const char* accepted_by; // nullptr: by none
  } values[] = {
      {nlohmann::json::object({{"k", 1}}), "object"},
      {nlohmann::json::array({1, "x"}), "array"},
      {"3", "string"},
      {true, "boolean"},
      {-3, "number"},
      {3.5, "number"},
      {std::numeric_limits<std::uint64_t>::max(), "number"},
      {nullptr, nullptr},
      {nlohmann::json::binary({1, 2}), nullptr},
      {nlohmann::json(nlohmann::json::value_t::discarded), nullptr},
  };
  for (const auto& value : values) {
    for (const auto& check : checks) {
      const auto message = run(check.check, value.value, "`key`");
      const bool accepted = value.accepted_by != nullptr && std::string(value.accepted_by) == check.check_name;
      if (accepted) {
        EXPECT_EQ(message, std::nullopt) << check.check_name << " " << value.value.dump();
      } else {
        EXPECT_EQ(message, "`key` must be " + std::string(check.kind) + ", but is `" +
                               zunto::json::dump_for_error_message(value.value) + "`")
            << check.check_name;
      }
    }
  }

  EXPECT_EQ(run(zunto::json::requires_number, "3", "json"), "json must be number, but is `\"3\"`");
  EXPECT_EQ(run(zunto::json::requires_object, nlohmann::json::array({1, {{"a", nullptr}}}), "json"),
            "json must be object, but is `[1,{\"a\":null}]`");
  EXPECT_EQ(run(zunto::json::requires_string, nullptr, ""), " must be string, but is `null`");
}

TEST(json_dump_for_error_message, cuts_at_256_bytes_on_a_character_boundary) {
  // Compact, non-ASCII kept as UTF-8.
  EXPECT_EQ(zunto::json::dump_for_error_message(nlohmann::json::parse(R"({ "b": [1, 2], "a": "\u00e9" })")),
            "{\"a\":\"\xC3\xA9\",\"b\":[1,2]}");

  const std::string dump_of_300 = nlohmann::json(std::string(298, 'a')).dump();
  ASSERT_EQ(dump_of_300.size(), 300u);
  EXPECT_EQ(zunto::json::dump_for_error_message(std::string(298, 'a')), dump_of_300.substr(0, 253) + "...");

  const std::string dump_of_256 = nlohmann::json(std::string(254, 'a')).dump();
  EXPECT_EQ(zunto::json::dump_for_error_message(std::string(254, 'a')), dump_of_256);

  // The quote, 251 letters and then "é" across the 253-byte cut: the whole "é" goes.
  const std::string text = std::string(251, 'a') + "\xC3\xA9" + std::string(10, 'b');
  EXPECT_EQ(zunto::json::dump_for_error_message(text), "\"" + std::string(251, 'a') + "...");

  EXPECT_THROW(zunto::json::dump_for_error_message(std::string("a\xFF")), nlohmann::json::type_error);
}
