#include "services/CamelCase.hpp"
#include "services/Widget.hpp"

#include <gtest/gtest.h>

namespace {

TEST(CamelCaseToWords, splits_at_every_capital_and_lowers_it) {
  const struct {
    QString input;
    QString expected;
  } cases[] = {
      {"topLeft", "top left"},
      {"topMiddle", "top middle"},
      {"topRight", "top right"},
      {"bottomLeft", "bottom left"},
      {"bottomMiddle", "bottom middle"},
      {"bottomRight", "bottom right"},
      {"", ""},
      {"TopLeft", " top left"},
      {"ABC", " a b c"},
      {"plain words_2 here", "plain words_2 here"},
      {QString::fromUtf8("caf\u00c9Noir"), QString::fromUtf8("caf \u00e9 noir")},
  };
  for (const auto& words : cases) {
    EXPECT_EQ(grellan::camelCaseToWords(words.input), words.expected) << words.input.toStdString();
  }
}

TEST(Widget, raw_values_match_exactly_and_list_in_their_order) {
  using grellan::Widget;
  EXPECT_EQ(grellan::allWidgets.front(), Widget::Time);
  EXPECT_EQ(grellan::allWidgets.back(), Widget::None);
  for (const Widget widget : grellan::allWidgets) {
    EXPECT_EQ(grellan::widgetFromRawValue(grellan::rawValue(widget)), widget);
  }
  EXPECT_EQ(grellan::rawValue(Widget::LineCount), "Selected lines count");
  for (const char* unknown : {"", "time", "NONE", "Selected Character Count", "Character and line count "}) {
    EXPECT_FALSE(grellan::widgetFromRawValue(unknown)) << unknown;
  }
}

} // namespace
