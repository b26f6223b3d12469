#include "platform/preferences/preferences.hpp"

#include "platform/cf/boolean.hpp"
#include "platform/cf/dictionary.hpp"
#include "platform/cf/number.hpp"
#include "platform/cf/string.hpp"
#include "support/environment_guard.hpp"
#include "support/files.hpp"
#include "support/temporary_directory.hpp"
#include "support/watchdog.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace preferences = platform::preferences;

namespace {

// The value as text: b:<bool>, n:<number>, s:<text>, d{<key>=<value>,...}, or "absent".
std::string describe(platform::cf::type_ref value) {
  if (value == nullptr) {
    return "absent";
  }
  if (auto b = dynamic_cast<platform::cf::boolean_ref>(value)) {
    return std::string("b:") + (platform::cf::boolean_get_value(b) ? "true" : "false");
  }
  if (auto n = dynamic_cast<platform::cf::number_ref>(value)) {
    return "n:" + std::to_string(*platform::cf::number_get_int64(n));
  }
  if (auto s = dynamic_cast<platform::cf::string_ref>(value)) {
    return std::string("s:") + platform::cf::string_get_c_string_ptr(s, platform::cf::string_encoding::utf8);
  }
  if (auto d = dynamic_cast<platform::cf::dictionary_ref>(value)) {
    std::string text = "d{";
    for (const auto& [k, v] : platform::cf::dictionary_get_keys_and_values(d)) {
      text += describe(k) + "=" + describe(v) + ",";
    }
    return text + "}";
  }
  return "unknown";
}

std::string read(std::string_view key, std::string_view domain, preferences::user u = preferences::user::current,
                 preferences::host h = preferences::host::any) {
  auto value = preferences::copy_value(key, domain, u, h);
  auto text = describe(value);
  platform::cf::release(value);
  return text;
}

class platform_preferences : public testing::Test {
protected:
  void SetUp() override { preferences::set_folder(directory_.path()); }
  void TearDown() override { preferences::set_folder({}); }

  void store(std::string_view domain, const std::string& text, preferences::user u = preferences::user::current,
             preferences::host h = preferences::host::any) {
    const auto path = preferences::get_store_path(domain, u, h);
    std::filesystem::create_directories(path.parent_path());
    hbd_test::write_file(path, text);
  }

  hbd_test::temporary_directory directory_;
};

} // namespace

TEST_F(platform_preferences, each_domain_user_and_host_has_its_own_store_under_the_folder) {
  EXPECT_EQ(preferences::get_store_path("Apple Global Domain", preferences::user::current, preferences::host::any),
            directory_.path() / "current_user/any_host/Apple Global Domain.json");
  EXPECT_EQ(preferences::get_store_path("com.apple.keyboardtype", preferences::user::any, preferences::host::current),
            directory_.path() / "any_user/current_host/com.apple.keyboardtype.json");

  store("d", R"({"k": 1})");
  store("d", R"({"k": 2})", preferences::user::any, preferences::host::current);
  EXPECT_EQ(read("k", "d"), "n:1");
  EXPECT_EQ(read("k", "d", preferences::user::any, preferences::host::current), "n:2");
  EXPECT_EQ(read("k", "d", preferences::user::any, preferences::host::any), "absent");
  auto app_value = preferences::copy_app_value("k", "d");
  EXPECT_EQ(describe(app_value), "n:1");
  platform::cf::release(app_value);

  // Read afresh each time.
  store("d", R"({"k": 3})");
  EXPECT_EQ(read("k", "d"), "n:3");

  preferences::set_folder({});
  EXPECT_EQ(preferences::get_folder(), std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "preferences");
}

TEST_F(platform_preferences, the_default_folder_ignores_relative_and_empty_values) {
  const hbd_test::environment_guard config_guard("XDG_CONFIG_HOME");
  const hbd_test::environment_guard home_guard("HOME");
  preferences::set_folder({});
  const struct {
    std::optional<std::string> xdg;
    std::optional<std::string> home;
    std::string expected;
  } cases[] = {
      {"/x", "/h", "/x/preferences"},
      {"", "/h", "/h/.config/preferences"},
      {"~/.config", "/h", "/h/.config/preferences"},
      {"rel/x", "/h", "/h/.config/preferences"},
      {std::nullopt, "rel", ""},
      {".", "", ""},
      {std::nullopt, std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xdg.value_or("(unset)") + " " + c.home.value_or("(unset)"));
    for (const auto& [name, value] : {std::pair{"XDG_CONFIG_HOME", c.xdg}, std::pair{"HOME", c.home}}) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    EXPECT_EQ(preferences::get_folder().string(), c.expected);
  }
}

TEST_F(platform_preferences, values_keep_their_kind_and_others_read_as_absent) {
  store("d", R"({
    "flag": true, "number": -12, "big": 18446744073709551615, "text": "é", "fraction": 1.5,
    "list": [1], "nothing": null,
    "map": {"631-1452-0": 40, "inner": {"x": false}, "dropped": [1]}
  })");
  const struct {
    const char* key;
    const char* value;
  } cases[] = {
      {"flag", "b:true"},    {"number", "n:-12"},    {"big", "absent"},
      {"text", "s:é"},       {"fraction", "absent"}, {"list", "absent"},
      {"nothing", "absent"}, {"missing", "absent"},  {"map", "d{s:631-1452-0=n:40,s:inner=d{s:x=b:false,},}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.key, "d"), c.value) << c.key;
  }
}

TEST_F(platform_preferences, a_broken_or_foreign_store_reads_as_empty) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"not JSON", "{\"k\": "},
      {"not an object", "[1]"},
      {"nested without end", "{\"k\": " + std::string(100000, '[') + std::string(100000, ']') + "}"},
  };
  for (const auto& c : cases) {
    store("d", c.text);
    EXPECT_EQ(read("k", "d"), "absent") << c.name;
  }
  EXPECT_EQ(read("k", "missing domain"), "absent");
}

TEST_F(platform_preferences, a_store_that_is_no_regular_file_or_too_large_reads_as_absent_at_once) {
  // A reader that waited on the FIFO or read the device would never return.
  const hbd_test::watchdog watchdog("reading hostile preference stores");
  const struct {
    const char* domain;
    hbd_test::hostile_file kind;
  } cases[] = {
      {"fifo", hbd_test::hostile_file::fifo},
      {"device", hbd_test::hostile_file::endless_device},
      {"huge", hbd_test::hostile_file::sparse},
  };
  for (const auto& c : cases) {
    const auto path = preferences::get_store_path(c.domain, preferences::user::current, preferences::host::any);
    std::filesystem::create_directories(path.parent_path());
    hbd_test::make_hostile_file(path, c.kind, std::uintmax_t{1} << 36);
    EXPECT_EQ(read("k", c.domain), "absent") << c.domain;
  }

  std::filesystem::create_directories(
      preferences::get_store_path("folder", preferences::user::current, preferences::host::any));
  EXPECT_EQ(read("k", "folder"), "absent");

  // Real JSON just over the size a store may have.
  store("large", R"({"k": true, "padding": ")" + std::string(std::size_t{1} << 20, 'x') + "\"}");
  EXPECT_EQ(read("k", "large"), "absent");
}
