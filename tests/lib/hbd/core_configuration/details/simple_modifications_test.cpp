#include "hbd/core_configuration/details/simple_modifications.hpp"

#include "support/log_capture.hpp"
#include "support/unmarshal_error_message.hpp"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <list>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using hbd::core_configuration::details::simple_modifications;
using nlohmann::json;
using pairs = std::list<simple_modifications::pair>;

const simple_modifications::pair& at(const simple_modifications& list, std::size_t index) {
  return *std::next(list.get_pairs().begin(), static_cast<std::ptrdiff_t>(index));
}

pairs texts(const simple_modifications& list) {
  const auto view = list.get_pairs();
  return pairs(view.begin(), view.end());
}

std::vector<std::string> froms(const simple_modifications& list) {
  std::vector<std::string> result;
  for (const auto& p : list.get_pairs()) {
    result.push_back(p.first);
  }
  return result;
}

simple_modifications read(const json& value) {
  simple_modifications list;
  list.handle_json(value);
  return list;
}

} // namespace

TEST(simple_modifications, object_form_reads_one_pair_per_string_member) {
  struct test_case {
    const char* input;
    pairs expected;
    const char* written;
  };
  const test_case cases[] = {
      {R"({"caps_lock": "escape"})",
       {{R"({"key_code":"caps_lock"})", R"([{"key_code":"escape"}])"}},
       R"([{"from":{"key_code":"caps_lock"},"to":[{"key_code":"escape"}]}])"},
      // An empty name gives an empty "from", which is never written.
      {R"({"": "escape"})", {{"{}", R"([{"key_code":"escape"}])"}}, "[]"},
      // Members that are not strings add nothing.
      {R"({"a": 1, "b": null, "c": ["x"]})", {}, "[]"},
      {R"({"a": ""})",
       {{R"({"key_code":"a"})", R"([{"key_code":""}])"}},
       R"([{"from":{"key_code":"a"},"to":[{"key_code":""}]}])"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    auto list = read(json::parse(c.input));
    EXPECT_EQ(texts(list), c.expected);
    EXPECT_EQ(list.to_json().dump(), c.written);
  }
}

TEST(simple_modifications, array_form_normalises_from_and_to) {
  struct test_case {
    const char* input;
    pairs expected;
  };
  const test_case cases[] = {
      // Spacing and member order do not matter: the texts are compact, members sorted.
      {R"([{"from": { "modifiers": {"mandatory": ["shift"]}, "key_code" : "a" }, "to": [{"key_code": "b"}]}])",
       {{R"({"key_code":"a","modifiers":{"mandatory":["shift"]}})", R"([{"key_code":"b"}])"}}},
      // A single "to" event becomes a list of one.
      {R"([{"from": {"key_code": "a"}, "to": {"key_code": "b"}}])", {{R"({"key_code":"a"})", R"([{"key_code":"b"}])"}}},
      // Empty "to" objects, or ones holding only the empty-named member, become empty lists.
      {R"([{"from": {"key_code": "a"}, "to": {}}, {"from": {"key_code": "b"}, "to": {"": 1}}])",
       {{R"({"key_code":"a"})", "[]"}, {R"({"key_code":"b"})", "[]"}}},
      // The empty-named member of "from" is dropped.
      {R"([{"from": {"key_code": "a", "": "x"}, "to": []}])", {{R"({"key_code":"a"})", "[]"}}},
      // Non-ASCII stays UTF-8.
      {R"([{"from": {"key_code": "ä"}, "to": ["é"]}])", {{"{\"key_code\":\"ä\"}", "[\"é\"]"}}},
      // Entries that are not objects, or lack "from" or "to", are dropped.
      {R"([1, "x", null, [], {"from": {"key_code": "a"}}, {"to": []}])", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(texts(read(json::parse(c.input))), c.expected);
  }
}

TEST(simple_modifications, entries_without_both_texts_are_not_written) {
  auto list = read(json::parse(R"([
    {"from": {"key_code": "a"}, "to": {}},
    {"from": {}, "to": [{"key_code": "b"}]},
    {"from": {"key_code": "c"}, "to": [{"key_code": "d"}]}
  ])"));
  EXPECT_EQ(list.get_pairs().size(), 3u);
  EXPECT_EQ(list.to_json(), json::parse(R"([{"from": {"key_code": "c"}, "to": [{"key_code": "d"}]}])"));
}

TEST(simple_modifications, an_unknown_member_is_logged_and_the_entry_kept) {
  hbd_test::log_capture capture;
  auto list = read(json::parse(R"([{"description": "x", "from": {"key_code": "a"}, "to": []}])"));
  EXPECT_EQ(texts(list), (pairs{{R"({"key_code":"a"})", "[]"}}));
  EXPECT_THAT(capture.entries(),
              testing::ElementsAre(hbd_test::log_capture::entry{
                  spdlog::level::err,
                  R"(json error: Unknown key: description in {"description":"x","from":{"key_code":"a"},"to":[]})"}));
}

TEST(simple_modifications, an_unknown_member_of_a_long_entry_quotes_it_cut_to_256_bytes) {
  hbd_test::log_capture capture;
  auto entry = json::parse(R"({"from": {"key_code": "a"}, "to": []})");
  entry["note"] = std::string(400, 'n');
  read(json::array({entry}));
  ASSERT_EQ(capture.texts().size(), 1u);
  const auto prefix = std::string("json error: Unknown key: note in ");
  const auto text = capture.texts().front();
  EXPECT_EQ(text.size(), prefix.size() + 256);
  EXPECT_EQ(text.substr(0, prefix.size() + 253), prefix + entry.dump().substr(0, 253));
  EXPECT_TRUE(text.ends_with("..."));
}

TEST(simple_modifications, other_kinds_of_value_throw_and_change_nothing) {
  const struct {
    json value;
    const char* message;
  } cases[] = {
      {nullptr, "json must be array or object, but is `null`"},
      {"a", R"(json must be array or object, but is `"a"`)"},
      {5, "json must be array or object, but is `5`"},
      {true, "json must be array or object, but is `true`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    auto list = read(json::parse(R"({"b": "c"})"));
    EXPECT_EQ(hbd_test::unmarshal_error_message([&] { list.handle_json(c.value); }), c.message);
    EXPECT_EQ(list.get_pairs().size(), 1u);
  }
}

TEST(simple_modifications, a_from_that_is_not_an_object_raises_the_json_type_error) {
  simple_modifications list;
  EXPECT_THROW(list.handle_json(json::parse(R"([{"from": "a", "to": []}])")), nlohmann::json::type_error);
}

TEST(simple_modifications, merges_by_from_with_the_last_entry_winning) {
  // Within one input.
  auto list = read(json::parse(R"([
    {"from": {"key_code": "a"}, "to": [{"key_code": "1"}]},
    {"from": {"key_code": "b"}, "to": [{"key_code": "2"}]},
    {"from": { "key_code" : "a" }, "to": [{"key_code": "3"}]}
  ])"));
  EXPECT_EQ(texts(list), (pairs{{R"({"key_code":"a"})", R"([{"key_code":"3"}])"},
                                {R"({"key_code":"b"})", R"([{"key_code":"2"}])"}}));

  // Across calls, mixing both forms: the list is never cleared.
  list.handle_json(json::parse(R"({"b": "4", "c": "5"})"));
  EXPECT_EQ(texts(list), (pairs{{R"({"key_code":"a"})", R"([{"key_code":"3"}])"},
                                {R"({"key_code":"b"})", R"([{"key_code":"4"}])"},
                                {R"({"key_code":"c"})", R"([{"key_code":"5"}])"}}));
}

TEST(simple_modifications, file_entries_replace_defaults_one_from_at_a_time) {
  simple_modifications list;
  auto defaults = json::array();
  for (int i = 1; i <= 12; ++i) {
    defaults.push_back({{"from", {{"key_code", fmt::format("f{0}", i)}}}, {"to", {{"key_code", "x"}}}});
  }
  list.handle_json(defaults);
  list.handle_json(json::parse(R"([{"from": {"key_code": "f1"}, "to": [{"key_code": "y"}]}])"));

  ASSERT_EQ(list.get_pairs().size(), 12u);
  EXPECT_EQ(at(list, 0), (simple_modifications::pair{R"({"key_code":"f1"})", R"([{"key_code":"y"}])"}));
  for (std::size_t i = 1; i < 12; ++i) {
    EXPECT_EQ(at(list, i).second, R"([{"key_code":"x"}])");
  }
}

TEST(simple_modifications, sorts_in_natural_order_with_byte_order_between_equal_ranks) {
  // f2 before f10; "A"/"a" and "f01"/"f1" rank equal naturally and fall back to byte order.
  const std::vector<std::string> names = {"f10", "f9", "f1", "f2", "a", "A", "f01", "b"};
  const std::vector<std::string> expected = {
      R"({"key_code":"A"})",  R"({"key_code":"a"})",  R"({"key_code":"b"})",  R"({"key_code":"f01"})",
      R"({"key_code":"f1"})", R"({"key_code":"f2"})", R"({"key_code":"f9"})", R"({"key_code":"f10"})",
  };

  // Every input order gives the same list, and so the same save.
  auto order = names;
  std::mt19937 random(7);
  std::string first_save;
  for (int round = 0; round < 100; ++round) {
    std::shuffle(order.begin(), order.end(), random);
    auto input = json::array();
    for (const auto& name : order) {
      input.push_back({{"from", {{"key_code", name}}}, {"to", {{"key_code", "x"}}}});
    }
    auto list = read(input);
    ASSERT_EQ(froms(list), expected);
    if (first_save.empty()) {
      first_save = list.to_json().dump();
    }
    ASSERT_EQ(list.to_json().dump(), first_save);
  }
}

TEST(simple_modifications, editing_operations) {
  auto list = read(json::parse(R"({"a": "1", "b": "2"})"));

  list.push_back_pair();
  EXPECT_EQ(list.get_pairs().back(), (simple_modifications::pair{"{}", "[]"}));
  EXPECT_EQ(list.to_json().size(), 2u); // the new empty pair is not written

  // Comments are allowed; "to" goes through the same migration as on reading.
  list.replace_pair(2, R"({"key_code": /* x */ "c"})", R"({"key_code": "3"})");
  EXPECT_EQ(at(list, 2), (simple_modifications::pair{R"({"key_code":"c"})", R"([{"key_code":"3"}])"}));

  // Out of range or not JSON: nothing changes.
  const auto before = texts(list);
  list.replace_pair(3, R"({"key_code": "d"})", "[]");
  list.replace_pair(0, "{", "[]");
  list.replace_pair(0, "{}", "not json");
  list.replace_second(R"({"key_code": "zz"})", "[]");
  list.replace_second(R"({"key_code": "a"})", "[");
  list.erase_pair(3);
  list.erase_by_from_json_string("{");
  EXPECT_EQ(texts(list), before);

  list.replace_second(R"({ "key_code" : "b" })", R"([{"key_code": "4"}])");
  EXPECT_EQ(at(list, 1).second, R"([{"key_code":"4"}])");

  list.erase_pair(0);
  EXPECT_EQ(froms(list), (std::vector<std::string>{R"({"key_code":"b"})", R"({"key_code":"c"})"}));

  list.erase_by_from_json_string(R"({ "key_code" : "c" })");
  EXPECT_EQ(froms(list), (std::vector<std::string>{R"({"key_code":"b"})"}));
}

TEST(simple_modifications, edits_can_duplicate_a_from_and_only_the_first_is_written) {
  auto list = read(json::parse(R"({"a": "1", "b": "2"})"));
  list.replace_pair(1, R"({"key_code": "a"})", R"([{"key_code": "9"}])");
  EXPECT_EQ(list.to_json(), json::parse(R"([{"from": {"key_code": "a"}, "to": [{"key_code": "1"}]}])"));

  // replace_second changes the first match only; erasing by "from" removes both.
  list.replace_second(R"({"key_code": "a"})", R"([{"key_code": "7"}])");
  EXPECT_EQ(at(list, 0).second, R"([{"key_code":"7"}])");
  EXPECT_EQ(at(list, 1).second, R"([{"key_code":"9"}])");
  list.erase_by_from_json_string(R"({"key_code": "a"})");
  EXPECT_TRUE(list.get_pairs().empty());
}

TEST(simple_modifications, written_values_are_what_the_stored_texts_parse_into) {
  // Number kinds, escapes and dropped members are where a kept value could drift from its text.
  const char* inputs[] = {
      R"([{"from": {"key_code": "a", "n": [1.0, -0.0, 0.1, 1e300, -5, 18446744073709551615]}, "to": {"x": 2.50}}])",
      R"([{"from": {"key_code": "\u00e9\t\"", "": 1}, "to": [{"key_code": "b"}, 3]}, {"from": {}, "to": [1]}])",
      R"([{"from": {"key_code": "c"}, "to": {"": 1}}, {"from": {"key_code": "d"}, "to": []}])",
      R"({"caps_lock": "escape", "": "x"})",
  };
  for (const auto* input : inputs) {
    SCOPED_TRACE(input);
    auto list = read(json::parse(input));
    list.push_back_pair();
    list.replace_pair(list.get_pairs().size() - 1, R"({"key_code": /* c */ "z", "m": 1.5e-7})", R"({"k": 1})");
    list.replace_second(R"({"key_code": "c"})", R"([{"key_code": "e"}])");

    auto expected = json::array();
    std::set<std::string> seen;
    for (const auto& [from, to] : texts(list)) {
      auto from_value = json::parse(from);
      auto to_value = json::parse(to);
      if (from_value.is_object() && !from_value.empty() && to_value.is_array() && !to_value.empty() &&
          seen.insert(from).second) {
        expected.push_back({{"from", from_value}, {"to", to_value}});
      }
    }
    EXPECT_EQ(list.to_json(), expected);
    EXPECT_EQ(list.to_json().dump(), expected.dump());
  }
}
