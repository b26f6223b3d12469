#include "settings/WidgetSettingsView.hpp"

#include "services/DefaultsKeys.hpp"
#include "services/Widget.hpp"
#include "settings/ApplicationList.hpp"
#include "support/app/platform/url_recorder.hpp"
#include "support/app/platform/widgets.hpp"
#include "support/app/services/settings_fixture.hpp"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace keys = grellan::DefaultsKeys;

class WidgetSettingsTest : public grellan_test::SettingsFixture {
protected:
  grellan::WidgetSettingsView& tab() {
    if (!view_) {
      view_ = std::make_unique<grellan::WidgetSettingsView>();
      view_->show();
    }
    return *view_;
  }

  std::unique_ptr<grellan::WidgetSettingsView> view_;
};

QStringList entries(const QComboBox& picker) {
  QStringList texts;
  for (int index = 0; index < picker.count(); ++index) {
    texts.append(picker.itemText(index));
  }
  return texts;
}

TEST_F(WidgetSettingsTest, unset_pickers_choose_nothing_and_offer_the_five_widgets_in_order) {
  const QStringList widgets{"Time", "Selected character count", "Selected lines count", "Character and line count",
                            "None"};
  for (grellan::MyPicker* picker : {tab().topPicker(), tab().bottomPicker()}) {
    EXPECT_EQ(picker->currentIndex(), -1);
    EXPECT_EQ(entries(*picker), widgets);
  }
}

TEST_F(WidgetSettingsTest, stored_values_that_name_no_widget_choose_nothing) {
  for (const QVariant& stored : {QVariant(5), QVariant("time"), QVariant(QStringList{"Time"}), QVariant("")}) {
    defaults().setValue(keys::topWidget, stored);
    EXPECT_EQ(tab().topPicker()->currentIndex(), -1) << stored.toString().toStdString();
  }
  defaults().setValue(keys::topWidget, "None");
  EXPECT_EQ(tab().topPicker()->currentText(), "None");
}

TEST_F(WidgetSettingsTest, electron_apps_are_stored_as_a_string_list_in_the_order_added_and_deleting_stores_the_rest) {
  choose(installApplication("org.example.First.desktop"));
  QTest::mouseClick(tab().electronApps()->addButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  choose(installApplication("org.example.Second.desktop"));
  QTest::mouseClick(tab().electronApps()->addButton(), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(defaults().value(keys::enabledElectronApps),
            QVariant(QStringList{"org.example.First", "org.example.Second"}));

  QTest::mouseClick(tab().electronApps()->deleteButton(0), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(defaults().value(keys::enabledElectronApps), QVariant(QStringList{"org.example.Second"}));
  ASSERT_EQ(panels_.size(), 2u);
  EXPECT_FALSE(panels_.front().allowsMultipleSelection);
  EXPECT_FALSE(panels_.front().canChooseDirectories);
  EXPECT_EQ(panels_.front().directoryURL, QUrl::fromLocalFile(grellan::applicationsDirectory));
}

TEST_F(WidgetSettingsTest, the_electron_list_starts_from_the_stored_strings_and_empty_for_anything_else) {
  const struct {
    const char* name;
    QVariant stored;
    QStringList shown;
  } cases[] = {
      {"list", QVariant(QStringList{"b.app", "a.app"}), {"b.app", "a.app"}},
      {"number", QVariant(3), {}},
      {"map", QVariant(QVariantMap{{"a", 1}}), {}},
  };
  for (const auto& stored : cases) {
    defaults().setValue(keys::enabledElectronApps, stored.stored);
    grellan::WidgetSettingsView view;
    EXPECT_EQ(view.electronApps()->identifiers(), stored.shown) << stored.name;
  }
}

TEST_F(WidgetSettingsTest, the_info_link_opens_the_electron_accessibility_page) {
  const grellan_test::UrlRecorder browser;
  auto* info = tab().findChild<QLabel*>("info");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->text().contains(">Info<"));
  emit info->linkActivated(grellan::WidgetSettingsView::electronAccessibilityUrl);
  EXPECT_EQ(browser.opened(), QList<QUrl>{QUrl(grellan::WidgetSettingsView::electronAccessibilityUrl)});
}

} // namespace
