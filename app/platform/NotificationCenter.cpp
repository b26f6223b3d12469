#include "platform/NotificationCenter.hpp"

#include <utility>

namespace grellan {

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

void NotificationCenter::post(const QString& name, const QVariant& object) const { observers_.deliver(name, object); }

ObservationToken NotificationCenter::addObserver(const QString& name, Observer observer) {
  return observers_.add(name, std::move(observer));
}

} // namespace grellan
