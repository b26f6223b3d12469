#include "resources/Assets.hpp"

#include <QFile>
#include <QHashFunctions>

namespace grellan {

const ResourceBundle& resourceBundle() {
  static const ResourceBundle bundle{":/resources/assets"};
  return bundle;
}

const ColorResource& ColorResource::primary() {
  static const ColorResource resource{"primaryColor", resourceBundle()};
  return resource;
}

const ImageResource& ImageResource::dextAllow() {
  static const ImageResource resource{"dext-allow", resourceBundle()};
  return resource;
}

const ImageResource& ImageResource::inputMonitoring() {
  static const ImageResource resource{"input_monitoring", resourceBundle()};
  return resource;
}

const ImageResource& ImageResource::menubarV() {
  static const ImageResource resource{"menubar-v", resourceBundle()};
  return resource;
}

const ImageResource& ImageResource::menubarVBlack() {
  static const ImageResource resource{"menubar-v-black", resourceBundle()};
  return resource;
}

std::size_t qHash(const ColorResource& resource, std::size_t combined) {
  return qHashMulti(combined, resource.name, resource.bundle.root);
}

std::size_t qHash(const ImageResource& resource, std::size_t combined) {
  return qHashMulti(combined, resource.name, resource.bundle.root);
}

QString assetPath(const ColorResource& resource) { return resource.bundle.root + "/" + resource.name + ".colorset"; }

QString assetPath(const ImageResource& resource) { return resource.bundle.root + "/" + resource.name + ".svg"; }

QColor toColor(const ColorResource& resource) {
  QFile file(assetPath(resource));
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QColor::fromString(QString::fromUtf8(file.readAll()).trimmed());
}

QImage toImage(const ImageResource& resource) { return QImage(assetPath(resource)); }

QIcon toIcon(const ImageResource& resource) { return QIcon(assetPath(resource)); }

} // namespace grellan
