#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>

#include <cstddef>

namespace grellan {

// The resource folder that holds the named assets.
struct ResourceBundle {
  QString root;

  bool operator==(const ResourceBundle&) const = default;
};

// Found once, on first use.
const ResourceBundle& resourceBundle();

// Names a colour asset of a bundle.
struct ColorResource {
  QString name;
  ResourceBundle bundle;

  bool operator==(const ColorResource&) const = default;

  static const ColorResource& primary();
};

// Names an image asset of a bundle.
struct ImageResource {
  QString name;
  ResourceBundle bundle;

  bool operator==(const ImageResource&) const = default;

  static const ImageResource& dextAllow();
  static const ImageResource& inputMonitoring();
  static const ImageResource& menubarV();
  static const ImageResource& menubarVBlack();
};

std::size_t qHash(const ColorResource& resource, std::size_t combined = 0);
std::size_t qHash(const ImageResource& resource, std::size_t combined = 0);

// The asset's resource path; its content exists in every complete build.
QString assetPath(const ColorResource& resource);
QString assetPath(const ImageResource& resource);

QColor toColor(const ColorResource& resource);
QImage toImage(const ImageResource& resource);
QIcon toIcon(const ImageResource& resource);

} // namespace grellan
