#include "zunto/json/indented_writer.hpp"

#include "zunto/json/parse_with_depth_limit.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using zunto::json::indented_writer;

std::string saved_text(const json& value) { return value.dump(4, ' ', false, json::error_handler_t::ignore); }

} // namespace

TEST(indented_writer, writes_what_a_dump_of_the_merged_value_gives) {
  const struct {
    const char* name;
    json kept;
    json added_a; // written as member "a"; null leaves it out
    json added_m; // written as member "m"
  } cases[] = {
      {"nothing", json::object(), nullptr, nullptr},
      {"kept only", json::parse(R"({"b": [1, {"c": "d"}], "z": {}})"), nullptr, nullptr},
      {"members around kept ones", json::parse(R"({"b": 1, "n": [], "z": true})"), json::array({1, 2}), "text"},
      {"a member replaces a kept one", json::parse(R"({"a": "old", "m": {"x": 1}})"), json::object(), json::array()},
      {"kept value that is no object", json::array({1}), 5, nullptr},
      {"text that is not valid UTF-8 is left out", json{{"k\xff", "v\xfe"}}, "caf\xc3", nullptr},
      {"non-ASCII stays UTF-8", json{{"\xc3\xa9t\xc3\xa9", "\xe2\x82\xac"}}, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<indented_writer::member> members;
    json expected = c.kept.is_object() ? c.kept : json::object();
    if (!c.added_a.is_null()) {
      members.push_back({"a", [&](indented_writer& w) { w.value(c.added_a); }});
      expected["a"] = c.added_a;
    }
    if (!c.added_m.is_null()) {
      members.push_back({"m", [&](indented_writer& w) { w.value(c.added_m); }});
      expected["m"] = c.added_m;
    }
    // The whole value, and the same one nested in an array and an object.
    std::string text;
    indented_writer writer(text);
    writer.array(2, [&](std::size_t i) {
      if (i == 0) {
        writer.object(c.kept, members);
      } else {
        const std::array<indented_writer::member, 1> outer{
            {{"inner", [&](indented_writer& w) { w.object(c.kept, members); }}}};
        writer.object(json::object(), outer);
      }
    });
    const json whole = json::array({expected, json{{"inner", expected}}});
    EXPECT_EQ(text, saved_text(whole));
    EXPECT_EQ(writer.depth(), zunto::json::nesting_depth(whole));
  }
}

TEST(indented_writer, counts_the_depth_given_for_a_value) {
  std::string text;
  indented_writer writer(text);
  writer.array(1, [&](std::size_t) { writer.value(json::array({json::array()}), 7); });
  EXPECT_EQ(writer.depth(), 8u);
  EXPECT_EQ(text, "[\n    [\n        []\n    ]\n]");
}

TEST(indented_writer, lays_out_compact_text_as_the_value_it_holds) {
  for (const auto* text : {R"({"a":[1,{"b":"x,y:[z]{"},[],{}],"c":"quote \" and \\ back","d":{"e":null}})", "[]", "{}",
                           "\"text\"", "12.5", "[[[[\"\xc3\xa9\xf0\x9f\x98\x80\"]]]]"}) {
    SCOPED_TRACE(text);
    const auto value = json::parse(text);
    ASSERT_EQ(value.dump(), text);
    std::string written;
    indented_writer writer(written);
    const std::array<indented_writer::member, 1> members{{{"k", [&](indented_writer& w) { w.compact_text(text); }}}};
    writer.object(json::object(), members);
    EXPECT_EQ(written, saved_text(json{{"k", value}}));
    EXPECT_EQ(writer.depth(), 1 + zunto::json::nesting_depth(value));
  }
}
