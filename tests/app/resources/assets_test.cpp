#include "resources/Assets.hpp"

#include <QColor>
#include <QFile>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using grellan::ColorResource;
using grellan::ImageResource;

TEST(Assets, constants_compare_and_hash_by_name_and_bundle_and_are_pairwise_different) {
  const ImageResource copy{"menubar-v", grellan::resourceBundle()};
  EXPECT_EQ(copy, ImageResource::menubarV());
  EXPECT_EQ(qHash(copy), qHash(ImageResource::menubarV()));
  EXPECT_NE((ImageResource{"menubar-v", {":/elsewhere"}}), ImageResource::menubarV());
  EXPECT_EQ(&ImageResource::menubarV(), &ImageResource::menubarV());

  const ImageResource* images[] = {&ImageResource::dextAllow(), &ImageResource::inputMonitoring(),
                                   &ImageResource::menubarV(), &ImageResource::menubarVBlack()};
  for (const auto* left : images) {
    for (const auto* right : images) {
      EXPECT_EQ(*left == *right, left == right);
    }
    EXPECT_NE(left->name, ColorResource::primary().name);
  }
}

TEST(Assets, every_named_asset_resolves_in_the_application_s_bundle) {
  EXPECT_EQ(ColorResource::primary().name, "primaryColor");
  EXPECT_TRUE(grellan::toColor(ColorResource::primary()).isValid());
  const struct {
    const ImageResource& image;
    const char* name;
  } images[] = {{ImageResource::dextAllow(), "dext-allow"},
                {ImageResource::inputMonitoring(), "input_monitoring"},
                {ImageResource::menubarV(), "menubar-v"},
                {ImageResource::menubarVBlack(), "menubar-v-black"}};
  for (const auto& entry : images) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.image.name, entry.name);
    EXPECT_TRUE(QFile::exists(grellan::assetPath(entry.image)));
    EXPECT_FALSE(grellan::toImage(entry.image).isNull());
    EXPECT_FALSE(grellan::toIcon(entry.image).isNull());
  }
}

// The tray's panel may be light or dark, and the icon draws itself the same on both.
TEST(Assets, the_tray_icon_stands_out_on_light_and_dark_panels) {
  const QPixmap icon = grellan::toIcon(ImageResource::menubarV()).pixmap(22, 22);
  ASSERT_FALSE(icon.isNull());
  for (const QColor panel : {QColor(Qt::white), QColor(240, 240, 240), QColor(Qt::black), QColor(40, 40, 48)}) {
    SCOPED_TRACE(panel.name().toStdString());
    QImage onPanel(icon.size(), QImage::Format_RGB32);
    onPanel.fill(panel);
    QPainter(&onPanel).drawPixmap(0, 0, icon);
    int contrast = 0;
    for (int y = 0; y < onPanel.height(); ++y) {
      for (int x = 0; x < onPanel.width(); ++x) {
        contrast = std::max(contrast, std::abs(qGray(onPanel.pixel(x, y)) - qGray(panel.rgb())));
      }
    }
    EXPECT_GE(contrast, 160);
  }
}

} // namespace
