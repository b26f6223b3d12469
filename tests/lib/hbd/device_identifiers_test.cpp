#include "hbd/device_identifiers.hpp"

#include "support/unmarshal_error_message.hpp"
#include "zunto/json/unmarshal_error.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

using hbd::device_identifiers;
using nlohmann::json;
using vendor_id = zunto::hid::vendor_id::value_t;
using product_id = zunto::hid::product_id::value_t;

device_identifiers read(const json& value) {
  device_identifiers identifiers;
  from_json(value, identifiers);
  return identifiers;
}

} // namespace

TEST(device_identifiers, the_address_is_kept_only_without_vendor_and_product) {
  EXPECT_EQ(device_identifiers(vendor_id{0x05ac}, product_id{0x0250}, true, false, false, "aa-bb").get_device_address(),
            "");
  EXPECT_EQ(device_identifiers(vendor_id{0}, product_id{1}, true, false, false, "aa-bb").get_device_address(), "");
  EXPECT_EQ(device_identifiers(vendor_id{0}, product_id{0}, true, false, false, "aa-bb").get_device_address(), "aa-bb");
  // The reader keeps what the file says.
  EXPECT_EQ(read(json{{"vendor_id", 1452}, {"device_address", "aa-bb"}}).get_device_address(), "aa-bb");
}

TEST(device_identifiers, equality_ignores_the_json) {
  auto plain = read(json{{"vendor_id", 1}});
  auto with_unknown = read(json{{"vendor_id", 1}, {"future", "x"}});
  EXPECT_EQ(plain, with_unknown);
  EXPECT_EQ(plain, device_identifiers(vendor_id{1}, product_id{0}, false, false, false, ""));

  json written = with_unknown;
  EXPECT_EQ(written["future"], "x");

  const device_identifiers base(vendor_id{0}, product_id{0}, true, false, false, "a");
  EXPECT_NE(base, device_identifiers(vendor_id{0}, product_id{0}, true, false, false, "b"));
  EXPECT_NE(base, device_identifiers(vendor_id{0}, product_id{0}, false, false, false, "a"));
  EXPECT_NE(base, device_identifiers(vendor_id{0}, product_id{0}, true, true, false, "a"));
  EXPECT_NE(base, device_identifiers(vendor_id{0}, product_id{0}, true, false, true, "a"));
  EXPECT_NE(device_identifiers(), device_identifiers(vendor_id{0}, product_id{2}, false, false, false, ""));
}

TEST(device_identifiers, writes_every_member_and_the_address_only_when_set) {
  json without = device_identifiers(vendor_id{1452}, product_id{610}, true, false, false, "");
  EXPECT_EQ(without, json::parse(R"({"vendor_id": 1452, "product_id": 610, "is_keyboard": true,
                                      "is_pointing_device": false, "is_game_pad": false})"));

  json with = device_identifiers(vendor_id{0}, product_id{0}, false, true, false, "aa-bb");
  EXPECT_EQ(with["device_address"], "aa-bb");

  // An empty address removes nothing that the read JSON held.
  auto identifiers = read(json{{"device_address", ""}, {"is_game_pad", true}});
  EXPECT_TRUE(identifiers.get_is_game_pad());
  EXPECT_EQ(json(identifiers)["device_address"], "");
}

TEST(device_identifiers, converts_ids_from_any_json_number) {
  constexpr auto max = std::numeric_limits<std::uint64_t>::max();
  const struct {
    json value;
    std::uint64_t expected;
  } cases[] = {
      {1452, 1452},
      {1452.9, 1452},
      {max, max},
      // A negative integer keeps its 64-bit pattern, as files have always been read.
      {-1, max},
      // Floating-point numbers out of range saturate.
      {1e300, max},
      {-1e300, 0},
      {-1.5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    auto identifiers = read(json{{"vendor_id", c.value}, {"product_id", c.value}});
    EXPECT_EQ(static_cast<std::uint64_t>(identifiers.get_vendor_id()), c.expected);
    EXPECT_EQ(static_cast<std::uint64_t>(identifiers.get_product_id()), c.expected);
    EXPECT_EQ(json(identifiers)["vendor_id"].get<std::uint64_t>(), c.expected);
    EXPECT_TRUE(json(identifiers)["vendor_id"].is_number_unsigned());
  }
}

TEST(device_identifiers, reading_errors_name_the_member_and_keep_what_was_read) {
  const struct {
    json value;
    const char* message;
  } cases[] = {
      {json(1), "json must be object, but is `1`"},
      {json{{"vendor_id", "1452"}}, R"(`vendor_id` must be number, but is `"1452"`)"},
      {json{{"product_id", nullptr}}, "`product_id` must be number, but is `null`"},
      {json{{"is_keyboard", 1}}, "`is_keyboard` must be boolean, but is `1`"},
      {json{{"is_pointing_device", "x"}}, R"(`is_pointing_device` must be boolean, but is `"x"`)"},
      {json{{"is_game_pad", nullptr}}, "`is_game_pad` must be boolean, but is `null`"},
      {json{{"device_address", 5}}, "`device_address` must be string, but is `5`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.dump());
    device_identifiers identifiers;
    EXPECT_EQ(hbd_test::unmarshal_error_message([&] { from_json(c.value, identifiers); }), c.message);
  }

  // Members before the bad one (in name order) stay read.
  device_identifiers identifiers;
  EXPECT_THROW(from_json(json{{"is_game_pad", true}, {"vendor_id", "x"}}, identifiers), zunto::json::unmarshal_error);
  EXPECT_TRUE(identifiers.get_is_game_pad());
  EXPECT_TRUE(identifiers.get_json().is_null());
}
