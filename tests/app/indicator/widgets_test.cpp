#include "indicator/IndicatorImageView.hpp"
#include "indicator/Widgets.hpp"

#include "services/DefaultsKeys.hpp"
#include "support/app/platform/indicator_fixture.hpp"

#include <gtest/gtest.h>

namespace {

using grellan::IndicatorImageView;
using grellan::Widget;
using grellan::DefaultsKeys::bottomWidget;
using grellan::DefaultsKeys::topWidget;

class WidgetsTest : public grellan_test::IndicatorFixture {
protected:
  // A badge of the window's starting size, with the clock at 09:05.
  std::unique_ptr<IndicatorImageView> makeView() {
    auto view = std::make_unique<IndicatorImageView>(QSizeF(32.5, 60.0));
    view->widgets().clock = [] { return QTime(9, 5); };
    return view;
  }
};

TEST_F(WidgetsTest, each_widget_choice_gives_its_texts_and_the_room_the_letter_keeps) {
  const struct {
    const char* name;
    std::optional<QString> top;
    std::optional<QString> bottom;
    std::optional<QString> selection; // none: no focused element
    QString topText;
    QString bottomText;
    double fontSizeMultiplier;
    double moveUp;
  } cases[] = {
      {"none stored", std::nullopt, std::nullopt, QString("abc"), "", "", 0.5, 0.0},
      {"time over nothing", "Time", "None", std::nullopt, "09:05", "", 0.25, 0.08},
      {"nothing over characters", "", "Selected character count", QString("ab\n\ncd\n"), "", "7", 0.25, -0.08},
      {"lines over both", "Selected lines count", "Character and line count", QString("ab\n\ncd\n"), "3", "7:3", 0.0,
       0.0},
      {"counts without focus", "Character and line count", "Selected lines count", std::nullopt, "0:0", "0", 0.0, 0.0},
      {"an empty selection", "Selected character count", "Time", QString(""), "0", "09:05", 0.0, 0.0},
      {"letters count once", "Selected character count", "None", QString::fromUtf8("e\u0301\U0001F600"), "2", "", 0.25,
       0.08},
      {"raw values are exact", "time", "none", QString("abc"), "", "", 0.5, 0.0},
  };
  for (const auto& choice : cases) {
    SCOPED_TRACE(choice.name);
    defaults().remove(topWidget);
    defaults().remove(bottomWidget);
    if (choice.top) {
      defaults().setValue(topWidget, *choice.top);
    }
    if (choice.bottom) {
      defaults().setValue(bottomWidget, *choice.bottom);
    }
    tree().setFocusedElement(choice.selection.has_value(), choice.selection);
    auto view = makeView();
    auto& widgets = view->widgets();
    view->refreshWidgets();
    EXPECT_EQ(widgets.topWidgetText.string, choice.topText);
    EXPECT_EQ(widgets.bottomWidgetText.string, choice.bottomText);
    EXPECT_DOUBLE_EQ(widgets.fontSizeMultiplier, choice.fontSizeMultiplier);
    EXPECT_DOUBLE_EQ(widgets.moveUp, choice.moveUp);
    EXPECT_NEAR(widgets.topWidgetText.fontSize, 32.5 / 3.5, 1e-9);
    EXPECT_EQ(widgets.topWidgetText.frame, QRectF(0, 0, 32.5, 60));
    EXPECT_EQ(widgets.bottomWidgetText.frame, QRectF(0, 4.4, 32.5, 32.5 / 3.5));
  }
}

TEST_F(WidgetsTest, no_widget_asks_nothing_of_accessibility_and_the_letter_fills_the_badge) {
  tree().setFocusedElement(true, QString("selected"));
  auto view = makeView();
  view->refreshWidgets();
  EXPECT_EQ(view->widgets().selectedText, "");
  EXPECT_NEAR(view->indicatorText().fontSize, 32.5 / 0.7, 1e-9);
  const double fontSize = 32.5 / 0.7;
  const double inset = (60 - fontSize) * 0.5 - fontSize / 7.0;
  EXPECT_NEAR(view->indicatorText().frame.y(), inset, 1e-9);
  EXPECT_NEAR(inset, 0.15, 0.01);
  EXPECT_NEAR(view->indicatorText().frame.height(), 60 - 2 * inset, 1e-9);
}

TEST_F(WidgetsTest, the_choice_follows_the_user_defaults_and_the_view_refreshes_every_half_second) {
  auto view = makeView();
  EXPECT_EQ(view->widgets().topWidget, Widget::None);
  // Until the first refresh the letter keeps its starting font over the whole badge.
  EXPECT_EQ(view->indicatorText().fontSize, 18.0);
  EXPECT_EQ(view->indicatorText().frame, QRectF(0, 0, 32.5, 60));
  EXPECT_EQ(view->refreshTimer().interval(), 500);
  EXPECT_TRUE(view->refreshTimer().isActive());

  defaults().setValue(topWidget, "Time");
  EXPECT_EQ(view->widgets().topWidget, Widget::Time);
  defaults().setValue(bottomWidget, "Selected lines count");
  EXPECT_EQ(view->widgets().bottomWidget, Widget::LineCount);
  defaults().remove(topWidget);
  EXPECT_EQ(view->widgets().topWidget, Widget::None);
}

TEST_F(WidgetsTest, a_listed_application_gets_the_enhanced_interface_at_its_next_activation) {
  const grellan::RunningApplication editor{"com.example.editor", 4242};
  grellan::Workspace::applicationDidActivate(editor);
  auto view = makeView();
  // Listing it while it is frontmost changes nothing yet.
  defaults().setValue(grellan::DefaultsKeys::enabledElectronApps,
                      QStringList{"com.example.other", "com.example.editor"});
  EXPECT_TRUE(tree().attributeSets().empty());

  grellan::Workspace::applicationDidActivate({"com.example.unlisted", 7});
  grellan::Workspace::applicationDidActivate({"", 8});
  EXPECT_TRUE(tree().attributeSets().empty());
  grellan::Workspace::applicationDidActivate(editor);
  using Set = grellan::FakeAccessibilityTree::AttributeSet;
  EXPECT_EQ(tree().attributeSets(), (std::vector<Set>{{4242, "AXEnhancedUserInterface", true}}));

  // A view that is gone no longer listens.
  view.reset();
  grellan::Workspace::applicationDidActivate(editor);
  EXPECT_EQ(tree().attributeSets().size(), 1u);
}

TEST_F(WidgetsTest, setting_a_state_sets_the_badge_s_colour_and_letter) {
  auto view = makeView();
  EXPECT_EQ(view->cornerRadius(), 6.0);
  view->setIndicator(grellan::IndicatorState::Visual);
  EXPECT_EQ(view->backgroundColor(), QColor(172, 76, 247));
  EXPECT_EQ(view->indicatorText().string, "v");
  EXPECT_EQ(view->indicatorText().shadowOpacity, 0.2);
  EXPECT_EQ(view->indicatorText().foregroundColor, QColor(Qt::white));
}

} // namespace
