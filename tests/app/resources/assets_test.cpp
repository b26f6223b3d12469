#include "resources/Assets.hpp"

#include <QFile>

#include <gtest/gtest.h>

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

} // namespace
